#include "widgets/FontCombo.h"

#include "widgets/EffectText.h"
#include "widgets/FontFaces.h"
#include "widgets/FontListBox.h"

#include <QApplication>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpression>


// ---- face combo box ------------------------------------------------------------------------

TWLXFontComboBox::TWLXFontComboBox(QWidget* parent)
    : TWLXCustomComboBox(parent)
{
    SetSorted(true);
    SetStyle(TWLXComboStyle::csOwnerDrawFixed);
    SetItemHeight(15);
    FillFontList();
}

void TWLXFontComboBox::FillFontList()
{
    const QString current = currentText();
    const QSignalBlocker block(this);
    clear();
    if (m_options & foScreenFonts)
        for (const TWLXFontFace& face : ScreenFontFaces(m_options & foTrueTypeOnly))
            addItem(face.Name, face.Type);
    setCurrentIndex(findText(current, Qt::MatchFixedString));
}

void TWLXFontComboBox::SetFontName(const QString& name)
{
    if (currentText() == name)
        return;
    m_blockChange = true;
    setCurrentIndex(findText(name, Qt::MatchFixedString));
    m_blockChange = false;
    Change();
}

void TWLXFontComboBox::RefreshFonts()
{
    const QString name = currentText();
    FillFontList();
    UpdateItemHeight();
    m_blockChange = true;
    setCurrentIndex(-1);
    m_blockChange = false;
    SetFontName(name);
}

void TWLXFontComboBox::SetOptions(uint8_t value)
{
    if (value == m_options)
        return;
    m_options = value;
    const QString name = currentText();
    FillFontList();
    if (currentText() != name)
        SetFontName(name);
    update();
}

void TWLXFontComboBox::Change()
{
    if (FontChangeHook)
        FontChangeHook();
    TWLXCustomComboBox::Change();
}

void TWLXFontComboBox::UpdateItemHeight()
{
    const int h = FontLineHeight(font());
    SetItemHeight(h > 9 ? h + 1 : 10);
}

void TWLXFontComboBox::changeEvent(QEvent* event)
{
    TWLXCustomComboBox::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        UpdateItemHeight();
}

void TWLXFontComboBox::DrawItem(QPainter& painter, const QStyleOptionViewItem& option, int index) const
{
    if (index < 0)
        return;
    const bool selected = option.state & QStyle::State_Selected;
    const QColor fore = option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    painter.fillRect(option.rect, option.palette.color(selected ? QPalette::Highlight : QPalette::Base));
    int x = kFontPlainTextOffset;
    if (m_options & foDisplaySymbol) {
        DrawFontMark(painter, QRect(option.rect.left(), option.rect.top(), 18, option.rect.height()),
                     itemData(index).toInt(), fore);
        x = kFontMarkTextOffset;
    }
    QFont f = font();
    if (m_options & foDisplayFont)
        f.setFamily(itemText(index));
    painter.setFont(f);
    painter.setPen(fore);
    painter.drawText(option.rect.adjusted(x, 1, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, itemText(index));
}

// ---- size combo box ------------------------------------------------------------------------

TWLXFontSizeComboBox::TWLXFontSizeComboBox(QWidget* parent)
    : TWLXCustomComboBox(parent)
{
    SetStyle(TWLXComboStyle::csDropDown);
    SetItemHeight(16);
    lineEdit()->setValidator(nullptr);
}

TWLXFontSizeComboBox::~TWLXFontSizeComboBox()
{
    // No face picker may call into a destroyed size box.
    UnlinkFontControl();
}

const QList<int>& TWLXFontSizeComboBox::StandardSizes()
{
    static const QList<int> sizes{8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
    return sizes;
}

int TWLXFontSizeComboBox::NearestSize(const QList<int>& sizes, bool scalable, int wanted)
{
    if (scalable)
        return wanted;
    int nearest = 0;
    for (int s : sizes)
        if (nearest == 0 || std::abs(s - wanted) < std::abs(nearest - wanted))
            nearest = s;
    return nearest;
}

void TWLXFontSizeComboBox::BuildSizeList()
{
    const QSignalBlocker block(this);
    const QString text = currentText();
    clear();
    if (m_fontName.isEmpty())
        return;
    if (QFontDatabase::isScalable(m_fontName)) {
        for (int s : StandardSizes())
            addItem(QString::number(s));
    } else {
        QList<int> sizes = QFontDatabase::pointSizes(m_fontName);
        std::sort(sizes.begin(), sizes.end());
        sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
        for (int s : sizes)
            addItem(QString::number(s));
    }
    setCurrentIndex(-1);
    setEditText(text);
}

void TWLXFontSizeComboBox::SetFontName(const QString& value)
{
    if (value == m_fontName)
        return;
    const int old = GetFontSize();
    m_fontName = value;
    BuildSizeList();
    SetFontSize(old);
}

int TWLXFontSizeComboBox::GetFontSize() const
{
    bool ok = false;
    const int v = currentText().trimmed().toInt(&ok);
    return ok ? v : -1;
}

int TWLXFontSizeComboBox::ValidSize(int size) const
{
    int n = size >= 1 && size <= 999 && !m_fontName.isEmpty() ? size : DefaultSize;
    if (UseNearestSize && !m_fontName.isEmpty()) {
        const QList<int> sizes = QFontDatabase::pointSizes(m_fontName);
        n = NearestSize(sizes, QFontDatabase::isScalable(m_fontName), n);
    }
    return n;
}

void TWLXFontSizeComboBox::SetFontSize(int size)
{
    if (m_fontName.isEmpty()) {
        m_blockChange = true;
        setCurrentIndex(-1);
        setEditText(QString());
        m_blockChange = false;
        return;
    }
    const int n = ValidSize(size);
    m_blockChange = true;
    setCurrentIndex(findText(QString::number(n), Qt::MatchFixedString));
    setEditText(QString::number(n));
    m_blockChange = false;
    Change();
}

void TWLXFontSizeComboBox::SetEditorEnabled(bool value)
{
    if (value == m_editorEnabled)
        return;
    m_editorEnabled = value;
    // The field stays able to show a size that is not in the list; it only refuses typing.
    lineEdit()->setReadOnly(!value);
}

void TWLXFontSizeComboBox::UnlinkFontControl()
{
    if (m_fontCombo)
        m_fontCombo->FontChangeHook = nullptr;
    if (TWLXFontListBox* list = FontList())
        list->FontChangeHook = nullptr;
    m_fontCombo = nullptr;
    m_fontList = nullptr;
}

void TWLXFontSizeComboBox::SetFontCombo(TWLXFontComboBox* value)
{
    if (value == m_fontCombo)
        return;
    UnlinkFontControl();
    m_fontCombo = value;
    if (value)
        value->FontChangeHook = [this] { FollowFont(); };
}

TWLXFontListBox* TWLXFontSizeComboBox::FontList() const
{
    return static_cast<TWLXFontListBox*>(m_fontList.data());
}

void TWLXFontSizeComboBox::SetFontList(TWLXFontListBox* value)
{
    if (value == FontList())
        return;
    UnlinkFontControl();
    m_fontList = value;
    if (value)
        value->FontChangeHook = [this] { FollowFont(); };
}

void TWLXFontSizeComboBox::FollowFont()
{
    if (m_fontCombo)
        SetFontName(m_fontCombo->GetFontName());
    else if (TWLXFontListBox* list = FontList())
        SetFontName(list->GetFontName());
}

void TWLXFontSizeComboBox::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    const QChar c = text.isEmpty() ? QChar() : text.at(0);
    if (!c.isNull() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        const bool control = c.unicode() < 32;
        bool allowed = control || c == u'+' || c == u'-' || (c >= u'0' && c <= u'9');
        if (!m_editorEnabled && (!control || event->key() == Qt::Key_Backspace))
            allowed = false;
        const bool dialogKey = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
                               event->key() == Qt::Key_Escape;
        if (!dialogKey && (!allowed || m_fontName.isEmpty())) {
            QApplication::beep();
            event->accept();
            return;
        }
        if (dialogKey) {
            // The dialog's default or cancel button acts.
            event->ignore();
            return;
        }
    }
    TWLXCustomComboBox::keyPressEvent(event);
}

void TWLXFontSizeComboBox::focusOutEvent(QFocusEvent* event)
{
    TWLXCustomComboBox::focusOutEvent(event);
    if (!m_editorEnabled)
        return;
    if (m_fontName.isEmpty()) {
        setEditText(QString());
        return;
    }
    const QString text = currentText().trimmed();
    if (text.isEmpty()) {
        SetFontSize(-1);
        return;
    }
    bool ok = false;
    const int size = text.toInt(&ok);
    // A text that is no number (a lone sign) counts as a wrong size.
    if (!ok)
        QApplication::beep();
    SetFontSize(ok ? size : -1);
}

void TWLXFontSizeComboBox::UpdateItemHeight()
{
    SetItemHeight(std::max(10, FontLineHeight(font()) + 1));
}

void TWLXFontSizeComboBox::changeEvent(QEvent* event)
{
    TWLXCustomComboBox::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        UpdateItemHeight();
}
