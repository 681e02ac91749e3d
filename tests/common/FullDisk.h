#pragma once
// A small real file system (tmpfs) that a test fills to the last byte, to see what writers do
// on a full disk. Mounting needs root; a test skips where it is refused.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <sys/mount.h>

class TFullDisk {
public:
    // Mounts a tmpfs of sizeKb at a fresh folder; false where mounting is not allowed.
    bool Mount(int sizeKb = 64)
    {
        if (!m_dir.isValid())
            return false;
        const QByteArray options = "size=" + QByteArray::number(sizeKb) + 'k';
        m_mounted = ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0,
                            options.constData()) == 0;
        return m_mounted;
    }
    ~TFullDisk()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    TFullDisk() = default;
    TFullDisk(const TFullDisk&) = delete;
    TFullDisk& operator=(const TFullDisk&) = delete;

    QString Path(const QString& name) const { return m_dir.filePath(name); }

    // Takes every free byte with one filler file.
    void Fill()
    {
        QFile filler(Path(QStringLiteral(".filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size()) {
        }
        while (filler.write("x", 1) == 1) {
        }
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};
