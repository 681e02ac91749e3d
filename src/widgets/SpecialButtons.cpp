#include "widgets/SpecialButtons.h"

#include "widgets/Edit.h"
#include "widgets/SpeedButton.h"

TWLXSpecialButton::TWLXSpecialButton(TWLXSpecialButtons* collection)
    : m_collection(collection)
    , m_button(new TWLXSpeedButton(collection->GetOwner()))
{
    m_button->SetCtlXP(false);
    m_button->SetColor(clBtnFace);
    m_button->setCursor(Qt::ArrowCursor);
    m_button->setFocusPolicy(Qt::NoFocus);
    m_button->HideHint = false;
    QObject::connect(m_button, &QToolButton::clicked, m_button, [this] { Click(); });
    m_layout.OnChange = [this](void*) { ApplyLook(); };
    m_fontFX.OnChange = [this](void*) { ApplyLook(); };
    m_button->show();
}

TWLXSpecialButton::~TWLXSpecialButton()
{
    m_fontFX.OnChange = nullptr;
    m_layout.OnChange = nullptr;
    QObject::disconnect(m_button, &QToolButton::clicked, nullptr, nullptr);
    delete m_button;
}

int TWLXSpecialButton::Index() const
{
    return m_collection->IndexOf(this);
}

void TWLXSpecialButton::SetCaption(const QString& value)
{
    m_caption = value;
    m_button->setText(value);
}

void TWLXSpecialButton::SetHint(const QString& value)
{
    m_hint = value;
    m_button->setToolTip(value);
}

void TWLXSpecialButton::SetGlyph(const QImage& value)
{
    m_glyph = value;
    ApplyLook();
}

void TWLXSpecialButton::SetCursor(Qt::CursorShape value)
{
    m_cursor = value;
    m_button->setCursor(value);
}

void TWLXSpecialButton::SetGroupIndex(int value)
{
    m_groupIndex = value;
    m_button->SetGroupIndex(value);
}

bool TWLXSpecialButton::ParentFont() const
{
    return m_parentFont;
}

void TWLXSpecialButton::SetParentFont(bool value)
{
    m_parentFont = value;
    m_button->setFont(value ? QFont() : m_font);
}

void TWLXSpecialButton::SetEnabled(bool value)
{
    m_enabled = value;
    m_button->setEnabled(value);
}

bool TWLXSpecialButton::AllowAllUp() const
{
    return m_button->AllowAllUp();
}

void TWLXSpecialButton::SetAllowAllUp(bool value)
{
    m_button->SetAllowAllUp(value);
}

bool TWLXSpecialButton::CtlXP() const
{
    return m_button->CtlXP();
}

void TWLXSpecialButton::SetCtlXP(bool value)
{
    m_button->SetCtlXP(value);
}

void TWLXSpecialButton::SetFont(const QFont& value)
{
    m_font = value;
    m_parentFont = false;
    ApplyLook();
}

void TWLXSpecialButton::ApplyLook()
{
    m_button->SetGlyph(m_glyph);
    m_button->SetButtonLayout(m_layout);
    m_button->FontFX().Assign(m_fontFX);
    if (!m_parentFont)
        m_button->setFont(m_font);
    m_collection->Update(this);
}

void TWLXSpecialButton::Click()
{
    const int index = Index();
    if (OnClick)
        OnClick(this, index);
    if (auto* edit = dynamic_cast<TWLXCustomEdit*>(m_collection->GetOwner()))
        edit->DoButtonClick(m_button, index);
}

void TWLXSpecialButton::Assign(const TWLXSpecialButton& source)
{
    SetCaption(source.m_caption);
    SetHint(source.m_hint);
    m_glyph = source.m_glyph;
    SetEnabled(source.m_enabled);
    SetCursor(source.m_cursor);
    SetGroupIndex(source.m_groupIndex);
    m_layout.Assign(source.m_layout);
    m_font = source.m_font;
    m_fontFX.Assign(source.m_fontFX);
    SetParentFont(source.m_parentFont);
    OnClick = source.OnClick;
    ApplyLook();
}

// ---- the collection ------------------------------------------------------------------------

TWLXSpecialButtons::TWLXSpecialButtons(QWidget* owner, bool autoLayout)
    : m_owner(owner)
    , m_autoLayout(autoLayout)
{
}

TWLXSpecialButtons::~TWLXSpecialButtons()
{
    OnChange = nullptr;
    m_items.clear();
    m_owner = nullptr;
}

TWLXSpecialButton& TWLXSpecialButtons::Add()
{
    m_items.push_back(std::make_unique<TWLXSpecialButton>(this));
    TWLXSpecialButton& item = *m_items.back();
    item.Button()->setProperty("Tag", Count() - 1);
    Update(&item);
    return item;
}

int TWLXSpecialButtons::IndexOf(const TWLXSpecialButton* item) const
{
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].get() == item)
            return int(i);
    return -1;
}

void TWLXSpecialButtons::Delete(int index)
{
    if (index < 0 || index >= Count())
        return;
    m_items.erase(m_items.begin() + index);
    Update(nullptr);
}

void TWLXSpecialButtons::Clear()
{
    m_items.clear();
    Update(nullptr);
}

void TWLXSpecialButtons::Update(TWLXSpecialButton*)
{
    if (OnChange)
        OnChange(this);
    if (!m_autoLayout || !m_owner)
        return;
    if (auto* edit = dynamic_cast<TWLXCustomEdit*>(m_owner)) {
        QPointer<TWLXCustomEdit> guarded(edit);
        QMetaObject::invokeMethod(
            edit, [guarded] {
                if (guarded)
                    guarded->UpdateRects();
            },
            Qt::QueuedConnection);
    }
}
