#include "ui/ColorPicker.h"

#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/FileIO.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "platform/Paths.h"

#include <QColorDialog>
#include <QDir>

namespace {

QString SlotKey(int slot)
{
    return QStringLiteral("Color") + QChar(u'A' + slot);
}

// Custom colours are 0x00BBGGRR like every colour of the program; the empty slot shows white.
QColor SlotToQColor(uint32_t value)
{
    if (value == ColorPickerEmptySlot)
        return QColor(255, 255, 255);
    return TColorToQColor(static_cast<int32_t>(value & 0xFFFFFFu));
}

uint32_t QColorToSlot(const QColor& color)
{
    return static_cast<uint32_t>(QColorToTColor(color.toRgb())) & 0xFFFFFFu;
}

} // namespace

QString CustomColorsPath()
{
    return ProgramPath(QStringLiteral("Settings\\Colors.dat"));
}

TCustomColors LoadCustomColors(const QString& path)
{
    TCustomColors colors;
    colors.fill(ColorPickerEmptySlot);
    // Sixteen short lines: anything much larger is not a colour file.
    QByteArray bytes;
    if (!ReadWholeFile(path, 64 * 1024, &bytes))
        return colors;
    // "ColorX=value" lines in any order; keys compare without regard to case.
    const QList<QByteArray> lines = bytes.split('\n');
    for (const QByteArray& raw : lines) {
        const QString line = QString::fromLatin1(raw).trimmed();
        const int eq = line.indexOf(u'=');
        if (eq < 0)
            continue;
        const QString key = line.left(eq).trimmed();
        if (key.size() != 6 || !key.startsWith(QStringLiteral("Color"), Qt::CaseInsensitive))
            continue;
        const int slot = key.at(5).toUpper().unicode() - u'A';
        if (slot < 0 || slot >= ColorPickerCustomCount)
            continue;
        bool ok = false;
        const uint32_t value = line.mid(eq + 1).trimmed().toUInt(&ok, 16);
        if (ok)
            colors[size_t(slot)] = value;
    }
    return colors;
}

QStringList CustomColorLines(const TCustomColors& colors)
{
    QStringList lines;
    for (int slot = 0; slot < ColorPickerCustomCount; ++slot) {
        lines << SlotKey(slot) + u'='
                + QStringLiteral("%1").arg(colors[size_t(slot)], 6, 16, QChar(u'0')).toLower();
    }
    return lines;
}

bool SaveCustomColors(const QString& path, const TCustomColors& colors, QString* error)
{
    const auto fail = [&](const QString& detail) {
        if (error) {
            *error = Lang3Q("Die eigenen Farben konnten nicht in \"%1\" gespeichert werden.",
                            "The custom colours could not be saved to \"%1\".",
                            "Impossible d'enregistrer les couleurs personnalisées dans \"%1\".")
                         .arg(QDir::toNativeSeparators(path));
            if (!detail.isEmpty())
                *error += u'\n' + detail;
        }
        return false;
    };
    QString folderError;
    if (!EnsureFolderFor(path, &folderError))
        return fail(folderError);
    const QByteArray text = CustomColorLines(colors).join(QStringLiteral("\r\n")).toLatin1() + "\r\n";
    QString reason;
    return WriteWholeFile(path, text, &reason) || fail(reason);
}

int32_t PickColor(int32_t color)
{
    QColorDialog dialog;
    dialog.setOption(QColorDialog::DontUseNativeDialog, true);
    dialog.setCurrentColor(TColorToQColor(color));

    // The custom colours are shared by every colour dialog: each pick starts from the file.
    const int count = qMin(ColorPickerCustomCount, QColorDialog::customCount());
    const QString path = CustomColorsPath();
    const TCustomColors loaded = LoadCustomColors(path);
    for (int slot = 0; slot < count; ++slot)
        QColorDialog::setCustomColor(slot, SlotToQColor(loaded[size_t(slot)]));

    if (ShowModal(dialog) != mrOk)
        return color;
    const int32_t chosen = QColorToTColor(dialog.currentColor().toRgb());

    // A slot that was empty and still shows the empty slot's white stays empty.
    TCustomColors saved = loaded;
    for (int slot = 0; slot < count; ++slot) {
        const QColor shown = QColorDialog::customColor(slot);
        const QColor before = SlotToQColor(loaded[size_t(slot)]);
        if (shown.rgb() != before.rgb())
            saved[size_t(slot)] = QColorToSlot(shown);
    }
    QString error;
    if (!SaveCustomColors(path, saved, &error))
        MessageDlg(error, mtError, mbOK);
    return chosen;
}
