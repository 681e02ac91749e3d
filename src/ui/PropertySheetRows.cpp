// The rows of the property sheet and the small controls they are built from.

#include "ui/PropertySheet.h"

#include "core/model/Translator.h"
#include "platform/Colors.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "platform/Paths.h"
#include "platform/Types.h"
#include "ui/Hotkey.h"
#include "ui/OwnerDrawButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>
#include <QValidator>

#include <algorithm>

namespace {

void SetBackground(QWidget* w, int32_t color)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, TColorToQColor(color));
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

// Refuses typing that would make the text longer than the limit, but lets a longer text
// that was set before stay and shrink.
class TLengthLimit : public QValidator {
public:
    TLengthLimit(QLineEdit* edit, int maxLength)
        : QValidator(edit)
        , m_max(maxLength)
        , m_last(edit->text())
    {
        connect(edit, &QLineEdit::textChanged, this, [this](const QString& t) { m_last = t; });
    }
    State validate(QString& input, int&) const override
    {
        if (input.size() > m_max && input.size() > m_last.size())
            return Invalid;
        return Acceptable;
    }

private:
    int m_max;
    QString m_last;
};

// A flat toggle button of the font-style and hotkey rows.
QToolButton* NewToggle(QWidget* parent, const char* name, const QString& text, int left, int top,
                       int width, int height)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(text);
    b->setCheckable(true);
    b->setAutoRaise(true);
    b->setGeometry(left, top, width, height);
    return b;
}

QComboBox* NewCombo(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setGeometry(left, top, width, height);
    return c;
}

QSpinBox* NewSpin(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* s = new QSpinBox(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setGeometry(left, top, width, height);
    return s;
}

QLineEdit* NewEdit(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setGeometry(left, top, width, height);
    return e;
}

} // namespace

void SetEditLimit(QLineEdit* edit, int maxLength)
{
    if (maxLength > 0)
        edit->setValidator(new TLengthLimit(edit, maxLength));
}

// --- TSheetPanel, TClickLabel, TFileEdit ---------------------------------------------------

TSheetPanel::TSheetPanel(QWidget* parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
    SetColor(clBtnFace);
}

void TSheetPanel::SetColor(int32_t color)
{
    SetBackground(this, color);
}

void TSheetPanel::SetCaption(const QString& caption)
{
    m_caption = caption;
    update();
}

void TSheetPanel::SetRightChild(QWidget* child)
{
    m_rightChild = child;
    PlaceRightChild();
}

void TSheetPanel::PlaceRightChild()
{
    if (m_rightChild && m_rightChild->parentWidget() == this)
        m_rightChild->setGeometry(width() - m_rightChild->width(), 0, m_rightChild->width(),
                                  height());
}

void TSheetPanel::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (m_caption.isEmpty())
        return;
    QPainter p(this);
    p.setFont(font());
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, m_caption);
}

void TSheetPanel::mousePressEvent(QMouseEvent* event)
{
    QFrame::mousePressEvent(event);
    if (OnClick)
        event->accept();
}

void TSheetPanel::mouseReleaseEvent(QMouseEvent* event)
{
    QFrame::mouseReleaseEvent(event);
    if (OnClick) {
        event->accept(); // the click is this panel's, not its parent's
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            OnClick();
    }
}

void TSheetPanel::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    PlaceRightChild();
}

TClickLabel::TClickLabel(QWidget* parent)
    : QLabel(parent)
{
}

void TClickLabel::mousePressEvent(QMouseEvent* event)
{
    QLabel::mousePressEvent(event);
    if (OnClick)
        event->accept();
}

void TClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (OnClick) {
        event->accept(); // the click is the label's, not the value area's
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            OnClick();
    }
}

void TClickLabel::paintEvent(QPaintEvent* event)
{
    const QRect r = contentsRect();
    const QFontMetrics fm(font());
    if (wordWrap() || text().contains(u'\n') || fm.horizontalAdvance(text()) <= r.width()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter p(this);
    style()->drawItemText(&p, r, int(alignment()), palette(), isEnabled(),
                          fm.elidedText(text(), Qt::ElideRight, r.width()), foregroundRole());
}

TFileEdit::TFileEdit(QWidget* parent, bool saveDialog)
    : QWidget(parent)
{
    if (saveDialog)
        Edit = new TWLXFileSaveEdit(this);
    else
        Edit = new TWLXFileOpenEdit(this);
    Edit->setObjectName(QStringLiteral("FileEditText"));
    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(Edit);
}

QString TFileEdit::Text() const
{
    return Edit->Filename();
}

void TFileEdit::SetText(const QString& text)
{
    Edit->SetFilename(text);
}

void TFileEdit::SetMaxLength(int length)
{
    Edit->MaxLength = std::max(0, length);
}

void TFileEdit::SetFilter(const QString& filter, const QString& defaultExt)
{
    Edit->Filter = filter;
    Edit->DefaultExt = defaultExt;
}

void TFileEdit::Browse()
{
    Edit->BrowseButtonClick();
}

void TFileEdit::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Edit->setGeometry(rect());
}

// --- TPropEditor -----------------------------------------------------------------------------

TPropEditor::TPropEditor(QWidget* parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
    setMinimumWidth(kMinWidth);

    NamePanel = new TSheetPanel(this);
    NamePanel->setObjectName(QStringLiteral("NamePanel"));
    NamePanel->SetColor(clInfoBk);

    NameLabel = new QLabel(NamePanel);
    NameLabel->setObjectName(QStringLiteral("NameLabel"));
    NameLabel->move(2, 4);

    PropPanel = new TSheetPanel(this);
    PropPanel->setObjectName(QStringLiteral("PropPanel"));

    ChangeBtn = new QPushButton(QStringLiteral("..."), PropPanel);
    ChangeBtn->setObjectName(QStringLiteral("ChangeBtn"));
    ChangeBtn->setAutoDefault(false);
    ChangeBtn->setDefault(false);
    ChangeBtn->resize(20, kRowHeight);
    PropPanel->SetRightChild(ChangeBtn);
}

void TPropEditor::SetNameWidth(int width)
{
    m_nameWidth = width;
    LayoutPanels();
}

void TPropEditor::SetBounds(int left, int top, int width, int height)
{
    setGeometry(left, top, qMax(width, minimumWidth()), height);
    LayoutPanels();
}

void TPropEditor::SetTop(int top)
{
    move(x(), top);
}

void TPropEditor::SetWidth(int width)
{
    SetBounds(x(), y(), width, height());
}

void TPropEditor::SetHeight(int height)
{
    SetBounds(x(), y(), width(), height);
}

void TPropEditor::LayoutPanels()
{
    const int h = height();
    if (NamePanel->isVisibleTo(this)) {
        NamePanel->setGeometry(0, 0, m_nameWidth, h);
        PropPanel->setGeometry(m_nameWidth, 0, qMax(0, width() - m_nameWidth), h);
    } else {
        PropPanel->setGeometry(0, 0, width(), h);
    }
    NamePanel->PlaceRightChild();
    PropPanel->PlaceRightChild();
    LayoutValue();
}

void TPropEditor::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    LayoutPanels();
}

// --- Row classes -----------------------------------------------------------------------------

TColorPropEditor::TColorPropEditor(QWidget* parent)
    : TPropEditor(parent)
{
    ColorBtn = new TOrvinButton(PropPanel);
    ColorBtn->setObjectName(QStringLiteral("ColorBtn"));
    ColorBtn->setGeometry(4, 3, 16, 16);
    ColorBtn->SetButtonStyle(TOrvinCustomButton::stRaised);
    ColorBtn->setFocusPolicy(Qt::StrongFocus);
    ColorBtn->SetShowFocused(true);
}

TFontNamePropEditor::TFontNamePropEditor(QWidget* parent)
    : TPropEditor(parent)
{
    FontCombo = new TWLXFontComboBox(PropPanel);
    FontCombo->setObjectName(QStringLiteral("FontCombo"));
    FontCombo->setGeometry(4, 1, 145, 20);
    SizeCombo = new TWLXFontSizeComboBox(PropPanel);
    SizeCombo->setObjectName(QStringLiteral("SizeCombo"));
    SizeCombo->setGeometry(FontCombo->x() + FontCombo->width() + 5, 1, 40, 20);
    SizeCombo->DefaultSize = kDefaultFontSize;
    // The size list follows the chosen font; a cleared font keeps the size typed.
    QObject::connect(FontCombo, &QComboBox::currentIndexChanged, SizeCombo,
                     [this](int) { RefreshSizes(); });
}

void TFontNamePropEditor::FillLists()
{
    RefreshSizes();
    RefreshFonts();
    if (EditedFont) {
        SetFontName(EditedFont->family());
        SetFontSize(PointSizeOf(*EditedFont));
    }
}

void TFontNamePropEditor::RefreshFonts()
{
    FontCombo->RefreshFonts();
}

void TFontNamePropEditor::RefreshSizes()
{
    if (!FontName().isEmpty())
        SizeCombo->SetFontName(FontName());
}

void TFontNamePropEditor::SetFontName(const QString& name)
{
    FontCombo->SetFontName(name);
}

QString TFontNamePropEditor::FontName() const
{
    return FontCombo->currentIndex() >= 0 ? FontCombo->currentText() : QString();
}

void TFontNamePropEditor::SetFontSize(int size)
{
    SizeCombo->SetFontSize(size);
}

int TFontNamePropEditor::FontSize() const
{
    return SizeCombo->GetFontSize();
}

int TFontNamePropEditor::PointSizeOf(const QFont& font)
{
    if (font.pointSize() > 0)
        return font.pointSize();
    if (font.pixelSize() > 0)
        return static_cast<int>(RoundHalfEven(font.pixelSize() * 72.0L / 96.0L));
    return -1;
}

TFontStylePropEditor::TFontStylePropEditor(QWidget* parent)
    : TPropEditor(parent)
{
    BoldBtn = NewToggle(PropPanel, "BoldBtn", QStringLiteral("BOLD"), 4, 2, 47, 20);
    ItalicBtn = NewToggle(PropPanel, "ItalicBtn", QStringLiteral("ITALIC"), 52, 2, 47, 20);
    StrikeBtn = NewToggle(PropPanel, "StrikeBtn", QStringLiteral("STRIKE"), 100, 2, 47, 20);
    UnderBtn = NewToggle(PropPanel, "UnderBtn", QStringLiteral("UNDER"), 148, 2, 47, 20);
    QFont f = BoldBtn->font();
    f.setBold(true);
    BoldBtn->setFont(f);
    f = ItalicBtn->font();
    f.setItalic(true);
    ItalicBtn->setFont(f);
    f = StrikeBtn->font();
    f.setStrikeOut(true);
    StrikeBtn->setFont(f);
    f = UnderBtn->font();
    f.setUnderline(true);
    UnderBtn->setFont(f);
}

THotkeyPropEditor::THotkeyPropEditor(QWidget* parent)
    : TPropEditor(parent)
{
    KeyCombo = NewCombo(PropPanel, "KeyCombo", 4, 2, 60, 20);
    // The modifier toggles are as wide as their captions need, side by side.
    int x = 65;
    auto toggle = [this, &x](const char* name, const QString& caption) {
        QToolButton* b = NewToggle(PropPanel, name, caption, x, 2, 25, 20);
        b->resize(std::max(25, b->fontMetrics().horizontalAdvance(caption) + 8), 20);
        x += b->width() + 1;
        return b;
    };
    CtrlBtn = toggle("CtrlBtn", QStringLiteral("Ctrl"));
    AltBtn = toggle("AltBtn", QStringLiteral("Alt"));
    ShiftBtn = toggle("ShiftBtn", QStringLiteral("Shift"));
    ActionCombo = NewCombo(PropPanel, "ActionCombo", x, 2, 60, 20);
}

void THotkeyPropEditor::FillLists()
{
    KeyCombo->clear();
    KeyCombo->addItems(HotkeyKeyNames());
    if (EditedHotkey)
        KeyCombo->setCurrentIndex(KeyToHotkeyIndex(EditedHotkey->Key));
    ActionCombo->clear();
    if (HasActionNames)
        ActionCombo->addItems(ActionNames);
    if (EditedHotkey)
        ActionCombo->setCurrentIndex(EditedHotkey->Action);
}

TComboPropEditor::TComboPropEditor(QWidget* parent)
    : TPropEditor(parent)
{
    Combo = NewCombo(PropPanel, "Combo", 4, 1, 64, 20);
    Combo->setMaxVisibleItems(20);
}

TImageComboPropEditor::TImageComboPropEditor(QWidget* parent)
    : TComboPropEditor(parent)
    , m_images(std::make_unique<TWLXBitmapList>())
{
    ImageCombo = new TWLXImageComboBox(Combo->parentWidget());
    ImageCombo->setObjectName(Combo->objectName());
    ImageCombo->setGeometry(Combo->geometry());
    ImageCombo->setMaxVisibleItems(Combo->maxVisibleItems());
    ImageCombo->Images().SetImageList(m_images.get());
    delete Combo;
    Combo = ImageCombo;
}

TImageComboPropEditor::~TImageComboPropEditor()
{
    ImageCombo->Images().SetImageList(nullptr);
}

void TImageComboPropEditor::SetImages(const QList<QPixmap>& images)
{
    m_images->Clear();
    for (const QPixmap& image : images) {
        const int i = m_images->AddItem();
        static_cast<TWLXBitmapListItem*>(m_images->Items(i))->SetBitmap(image.toImage());
    }
    int height = 0;
    for (const QPixmap& image : images)
        height = std::max(height, image.height());
    if (height > 0)
        ImageCombo->SetItemHeight(height + 2);
}

TEditComboPropEditor::TEditComboPropEditor(QWidget* parent)
    : TComboPropEditor(parent)
{
    Combo->setEditable(true);
    Combo->setInsertPolicy(QComboBox::NoInsert);
}

TCaptionPropEditor::TCaptionPropEditor(QWidget* parent)
    : TPropEditor(parent)
{
}

TEditPropEditor::TEditPropEditor(QWidget* parent)
    : TPropEditor(parent)
{
    Edit = NewEdit(PropPanel, "Edit", 4, 1, 64, 20);
    Edit->setFont(QFont(QStringLiteral("Arial"), Edit->font().pointSize()));
    // The link button sits at the right end of the caption column.
    PropPanel->SetRightChild(nullptr);
    ChangeBtn->setParent(NamePanel);
    ChangeBtn->resize(20, kRowHeight);
    ChangeBtn->hide();
    NamePanel->SetRightChild(ChangeBtn);
    QObject::connect(Edit, &QLineEdit::textChanged, Edit, [this]() { EditChange(); });
    QObject::connect(ChangeBtn, &QPushButton::clicked, ChangeBtn, [this]() { OpenLink(); });
}

bool TEditPropEditor::IsMailAddress(const QString& text)
{
    const qsizetype at = text.indexOf(u'@'); // 0-based; the rest starts with the "@"
    if (at < 1)
        return false;
    return text.mid(at).indexOf(u'.') >= 2;
}

void TEditPropEditor::EditChange()
{
    const QString text = Edit->text();
    const QString upper = text.toUpper();
    const bool link = upper.contains(QStringLiteral("WWW.")) || upper.contains(QStringLiteral("HTTP:"))
                      || (!text.isEmpty() && QFileInfo(ResolvePath(text)).isFile())
                      || IsMailAddress(text);
    ChangeBtn->setVisible(link);
}

QUrl TEditPropEditor::LinkUrl(const QString& text)
{
    if (IsMailAddress(text))
        return QUrl(QStringLiteral("mailto:") + text);
    const QFileInfo file(ResolvePath(text));
    if (file.isFile())
        return QUrl::fromLocalFile(file.absoluteFilePath());
    return QUrl::fromUserInput(text);
}

void TEditPropEditor::OpenLink()
{
    QDesktopServices::openUrl(LinkUrl(Edit->text()));
}

TMemoPropEditor::TMemoPropEditor(QWidget* parent)
    : TPropEditor(parent)
{
    Memo = new QPlainTextEdit(PropPanel);
    Memo->setObjectName(QStringLiteral("Memo"));
    Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo->setTabChangesFocus(true);
}

QStringList TMemoPropEditor::Lines() const
{
    const QString text = Memo->toPlainText();
    if (text.isEmpty())
        return {};
    QStringList lines = text.split(u'\n');
    if (lines.size() > 1 && lines.constLast().isEmpty())
        lines.removeLast(); // a final line break ends the last line, it opens no new one
    return lines;
}

void TMemoPropEditor::SetLines(const QStringList& lines)
{
    Memo->setPlainText(lines.join(u'\n'));
}

TCheckPropEditor::TCheckPropEditor(QWidget* parent)
    : TPropEditor(parent)
{
    Check = new QCheckBox(QStringLiteral(" "), PropPanel);
    Check->setObjectName(QStringLiteral("Check"));
    Check->setGeometry(4, 2, 97, 17);
}

TFilePropEditor::TFilePropEditor(QWidget* parent, bool saveDialog)
    : TPropEditor(parent)
{
    FileEdit = new TFileEdit(PropPanel, saveDialog);
    FileEdit->setObjectName(QStringLiteral("FileEdit"));
    FileEdit->setGeometry(4, 1, 64, 20);
}

TSaveFilePropEditor::TSaveFilePropEditor(QWidget* parent)
    : TFilePropEditor(parent, true)
{
}

TSpinPropEditor::TSpinPropEditor(QWidget* parent)
    : TPropEditor(parent)
{
    Spin = NewSpin(PropPanel, "Spin", 4, 1, 64, 20);
}

TRangePropEditor::TRangePropEditor(QWidget* parent)
    : TPropEditor(parent)
{
    MinEdit = NewEdit(PropPanel, "MinEdit", 4, 1, 64, 20);
    MaxEdit = NewEdit(PropPanel, "MaxEdit", 80, 1, 64, 20);
}

TDayTimePropEditor::TDayTimePropEditor(QWidget* parent)
    : TPropEditor(parent)
{
    HourSpin = NewSpin(PropPanel, "HourSpin", 4, 1, 40, 20);
    MinuteSpin = NewSpin(PropPanel, "MinuteSpin", 44, 1, 40, 20);
    SecondSpin = NewSpin(PropPanel, "SecondSpin", 84, 1, 40, 20);
    HourSpin->setRange(0, 23);
    MinuteSpin->setRange(0, 59);
    SecondSpin->setRange(0, 59);
    HourSpin->setToolTip(QStringLiteral("H"));
    MinuteSpin->setToolTip(QStringLiteral("M"));
    SecondSpin->setToolTip(QStringLiteral("S"));
}

TValueLabelPropEditor::TValueLabelPropEditor(QWidget* parent, const QString& initialText)
    : TPropEditor(parent)
{
    ValueLabel = new TClickLabel(PropPanel);
    ValueLabel->setObjectName(QStringLiteral("ValueLabel"));
    ValueLabel->setGeometry(4, 4, 64, 20);
    ValueLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SetValueText(initialText);
}

void TValueLabelPropEditor::SetValueText(const QString& text)
{
    ValueLabel->setText(text);
    LayoutValue();
}

void TValueLabelPropEditor::LayoutValue()
{
    if (!ValueLabel)
        return;
    const int needed = ValueLabel->fontMetrics().horizontalAdvance(ValueLabel->text()) + 2;
    ValueLabel->resize(std::max(64, needed), ValueLabel->height());
}

TFormatPropEditor::TFormatPropEditor(QWidget* parent)
    : TValueLabelPropEditor(parent, QStringLiteral("Format"))
{
}

TSyncPropEditor::TSyncPropEditor(QWidget* parent)
    : TValueLabelPropEditor(parent, QStringLiteral("Synchron."))
{
}

TDialogPropEditor::TDialogPropEditor(QWidget* parent)
    : TValueLabelPropEditor(parent, Translate(QStringLiteral("Bearbeiten")) + QStringLiteral("..."))
{
}
