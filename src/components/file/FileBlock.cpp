#include "components/file/FileBlock.h"

#include "components/signal/SignalSupport.h"
#include "platform/Canvas.h"
#include "platform/FileIO.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>

TBTFileBlock::TBTFileBlock(const TComponentDescription& description, int dx, int dy)
    : m_dx(dx), m_dy(dy)
{
    Describe(description);
    SignalSupport::MakeBlock(*this, true);
}

void TBTFileBlock::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    canvas.Font.setItalic(false);
    canvas.Font.setBold(false);
    DrawMarkText(canvas, CenterX() - m_dx, CenterY() - m_dy, 36, Caption());
    canvas.Brush.Style = Qt::SolidPattern;
}

namespace FileWrites {

QString DataFolder()
{
    const QString folder = ProgramPath(QStringLiteral("Data/"));
    QDir().mkpath(folder);
    return folder;
}

bool ReplaceFile(const QString& path, const QByteArray& bytes)
{
    return WriteWholeFile(path, bytes);
}

bool AppendToFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    // Unbuffered, so that nothing of a failed write is tried again when the file closes.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return false;
    const qint64 before = file.size();
    if (file.write(bytes) == bytes.size())
        return true;
    file.resize(before);
    return false;
}

QString NamePart(const QString& path)
{
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(cut + 1);
}

} // namespace FileWrites
