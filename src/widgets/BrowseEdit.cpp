#include "widgets/BrowseEdit.h"

#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "platform/Paths.h"
#include "widgets/SpeedButton.h"
#include "widgets/ToolGlyphs.h"
#include "widgets/WLXBase.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QKeyEvent>

QStringList FileDialogFilters(const QString& filter)
{
    QStringList result;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        result << QStringLiteral("%1 (%2)").arg(parts[i], patterns.trimmed());
    }
    return result;
}

QString MinimizePathName(const QString& path, const QFont& font, int width)
{
    const QFontMetrics fm(font);
    for (int length = int(path.size()); length > 0; --length) {
        const QString shorter = CompactPath(path, length);
        if (fm.horizontalAdvance(shorter) <= width)
            return shorter;
    }
    return CompactPath(path, 0);
}

namespace {

// The browse button's picture: three dots on the glyph key colour.
QImage EllipsisGlyph()
{
    QImage image(11, 13, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255));
    for (int dot = 0; dot < 3; ++dot)
        for (int x = 0; x < 2; ++x)
            for (int y = 0; y < 2; ++y)
                image.setPixel(1 + dot * 4 + x, 9 + y, qRgb(0, 0, 0));
    return image;
}

} // namespace

// ---- browse edit base ----------------------------------------------------------------------

TWLXCustomBrowseEdit::TWLXCustomBrowseEdit(QWidget* parent)
    : TWLXCustomEdit(parent)
{
    TWLXSpecialButton& button = CustomButtons().Add();
    SetCustomButtonWidth(18);
    button.SetCtlXP(false);
    button.OnClick = [this](void*, int) { BrowseButtonClick(); };
}

void TWLXCustomBrowseEdit::BrowseButtonClick()
{
    DoBrowse();
    if (OnBrowse)
        OnBrowse(this);
}

void TWLXCustomBrowseEdit::SetMinimizeName(bool value)
{
    m_minimizeName = value;
}

QString TWLXCustomBrowseEdit::DisplayForm(const QString& full) const
{
    QString shown = full;
    if (FilenameOnlyShown())
        shown = QFileInfo(shown).fileName();
    if (m_minimizeName)
        shown = MinimizePathName(shown, font(), TextRect().Width());
    return shown;
}

QString TWLXCustomBrowseEdit::Value() const
{
    return hasFocus() || !m_minimizeName ? Text() : m_fullText;
}

void TWLXCustomBrowseEdit::SetValue(const QString& value)
{
    SetText(value);
    if (!hasFocus())
        FormatDisplayText();
}

void TWLXCustomBrowseEdit::FormatDisplayText()
{
    m_fullText = Text();
    SetText(DisplayForm(m_fullText));
}

void TWLXCustomBrowseEdit::TextAssigned()
{
    if (!hasFocus()) {
        const QString text = Text();
        if (m_fullText.isEmpty() || (text != m_fullText && text != DisplayForm(m_fullText)))
            m_fullText = text;
    }
    TWLXCustomEdit::TextAssigned();
}

void TWLXCustomBrowseEdit::Loaded()
{
    m_fullText = Text();
}

void TWLXCustomBrowseEdit::focusInEvent(QFocusEvent* event)
{
    TWLXCustomEdit::focusInEvent(event);
    if (m_minimizeName)
        SetText(m_fullText);
}

void TWLXCustomBrowseEdit::focusOutEvent(QFocusEvent* event)
{
    SetScrollOffset(0);
    SetCaretPos(1);
    FormatDisplayText();
    TWLXCustomEdit::focusOutEvent(event);
}

void TWLXCustomBrowseEdit::BeginBrowse()
{
    if (!hasFocus())
        setFocus(Qt::OtherFocusReason);
}

void TWLXCustomBrowseEdit::EndBrowse(void* dialog)
{
    if (OnBrowse)
        OnBrowse(dialog);
}

// ---- file edits ----------------------------------------------------------------------------

TWLXCustomFileEdit::TWLXCustomFileEdit(QWidget* parent, bool saveDialog)
    : TWLXCustomBrowseEdit(parent)
    , m_save(saveDialog)
{
    BrowseButton().SetGlyph(ToolGlyph(saveDialog ? TToolGlyph::Save : TToolGlyph::Open, 16));
}

void TWLXCustomFileEdit::SetFilenameOnly(bool value)
{
    if (value == m_filenameOnly)
        return;
    m_filenameOnly = value;
    FormatDisplayText();
}

void TWLXCustomFileEdit::DoBrowse()
{
    BeginBrowse();
    QFileDialog dialog(window());
    dialog.setAcceptMode(m_save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(m_save ? QFileDialog::AnyFile
                       : (Options & ofAllowMultiSelect) ? QFileDialog::ExistingFiles
                                                        : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(Options & ofOverwritePrompt));
    if (!Title.isEmpty())
        dialog.setWindowTitle(Title);
    const QStringList filters = FileDialogFilters(Filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    QString ext = DefaultExt;
    if (ext.startsWith(u'.'))
        ext.remove(0, 1);
    dialog.setDefaultSuffix(ext);
    if (!InitialDir.isEmpty())
        dialog.setDirectory(ResolvePath(InitialDir));
    if (!Text().isEmpty())
        dialog.selectFile(ResolvePath(Filename()));
    if (OnBeforeBrowse)
        OnBeforeBrowse(&dialog);
    if (ShowModal(dialog) == mrOk && !dialog.selectedFiles().isEmpty()) {
        const QString chosen = dialog.selectedFiles().constFirst();
        if (m_save)
            SetFileFromDialog(chosen);
        else
            SetText(chosen);
        if (OnDlgChange)
            OnDlgChange(this);
    }
    EndBrowse(&dialog);
}

void TWLXCustomFileEdit::SetFileFromDialog(const QString& name)
{
    SetFilename(QFileInfo(name).fileName());
    SetText(name);
}

void TWLXCustomFileEdit::keyPressEvent(QKeyEvent* event)
{
    TWLXCustomBrowseEdit::keyPressEvent(event);
    if (m_save && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter))
        SetFileFromDialog(Text());
}

// ---- folder edit ---------------------------------------------------------------------------

TWLXBrowseEdit::TWLXBrowseEdit(QWidget* parent)
    : TWLXCustomBrowseEdit(parent)
{
    BrowseButton().SetGlyph(EllipsisGlyph());
}

void TWLXBrowseEdit::SetMinimizeName(bool value)
{
    if (value == MinimizeName())
        return;
    if (!value)
        SetText(FullText());
    TWLXCustomBrowseEdit::SetMinimizeName(value);
    if (value)
        FormatDisplayText();
}

void TWLXBrowseEdit::DoBrowse()
{
    BeginBrowse();
    TWLXBrowseDlg dialog(window());
    dialog.StartFolder = StartFolder;
    dialog.Options = Options;
    if (StartWithLast && !Text().isEmpty())
        dialog.SetSelectedFolder(Text());
    if (OnExecute)
        OnExecute(this, dialog);
    if (OnBeforeBrowse)
        OnBeforeBrowse(&dialog);
    if (dialog.Execute()) {
        SetText(dialog.SelectedFolder());
        if (OnDlgChange)
            OnDlgChange(this);
    }
    EndBrowse(&dialog);
}
