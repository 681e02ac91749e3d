#pragma once
// The custom buttons of the library's edits: a collection whose every item owns a speed button
// placed inside the edit, mirrors its settings (caption, hint, glyph, layout, fonts, group,
// cursor) into it, and routes its clicks to the item's event and then to the edit.

#include "widgets/Caption3D.h"
#include "widgets/GlyphTextLayout.h"
#include "widgets/WLXObject.h"

#include <QFont>
#include <QImage>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

class QWidget;
class TWLXSpeedButton;
class TWLXSpecialButtons;

using TWLXOnCustomBtnClick = std::function<void(void* sender, int index)>;

class TWLXSpecialButton {
public:
    explicit TWLXSpecialButton(TWLXSpecialButtons* collection);
    ~TWLXSpecialButton();
    TWLXSpecialButton(const TWLXSpecialButton&) = delete;
    TWLXSpecialButton& operator=(const TWLXSpecialButton&) = delete;

    QString Caption() const { return m_caption; }
    void SetCaption(const QString& value);
    QString Hint() const { return m_hint; }
    void SetHint(const QString& value);
    const QImage& Glyph() const { return m_glyph; }
    void SetGlyph(const QImage& value);
    Qt::CursorShape Cursor() const { return m_cursor; }
    void SetCursor(Qt::CursorShape value);
    int GroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(int value);
    bool ParentFont() const;
    void SetParentFont(bool value);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool value);
    // Kept by the button itself.
    bool AllowAllUp() const;
    void SetAllowAllUp(bool value);
    bool CtlXP() const;
    void SetCtlXP(bool value);
    TWLXButtonLayout& Layout() { return m_layout; }
    void SetLayout(const TWLXButtonLayout& value) { m_layout.Assign(value); }
    const QFont& Font() const { return m_font; }
    void SetFont(const QFont& value);
    TWLXFxCaption& FontFX() { return m_fontFX; }
    void SetFontFX(const TWLXFxCaption& value) { m_fontFX.Assign(value); }
    QString DisplayName;
    TWLXOnCustomBtnClick OnClick;

    // The position in the collection.
    int Index() const;
    TWLXSpeedButton* Button() const { return m_button; }
    // Glyph, layout, effects and font go to the button; the collection hears of the change.
    void ApplyLook();
    // OnClick, then the edit's custom-button click.
    void Click();
    void Assign(const TWLXSpecialButton& source);

private:
    TWLXSpecialButtons* m_collection;
    QString m_hint, m_caption;
    QImage m_glyph;
    Qt::CursorShape m_cursor = Qt::ArrowCursor;
    TWLXSpeedButton* m_button;
    int m_groupIndex = 0;
    bool m_parentFont = true;
    bool m_enabled = true;
    TWLXButtonLayout m_layout;
    QFont m_font;
    TWLXFxCaption m_fontFX;
};

class TWLXSpecialButtons {
public:
    // With autoLayout the owner lays its buttons out again after every change, once the events
    // queued so far have run.
    TWLXSpecialButtons(QWidget* owner, bool autoLayout = true);
    ~TWLXSpecialButtons();
    TWLXSpecialButtons(const TWLXSpecialButtons&) = delete;
    TWLXSpecialButtons& operator=(const TWLXSpecialButtons&) = delete;

    QWidget* GetOwner() const { return m_owner; }
    TWLXSpecialButton& Add();
    int Count() const { return int(m_items.size()); }
    TWLXSpecialButton& Items(int index) { return *m_items.at(size_t(index)); }
    int IndexOf(const TWLXSpecialButton* item) const;
    void Delete(int index);
    void Clear();
    // An item changed (nullptr: the collection): OnChange, then the posted layout.
    void Update(TWLXSpecialButton* item);
    TNotifyEvent OnChange;

private:
    QWidget* m_owner;
    bool m_autoLayout;
    std::vector<std::unique_ptr<TWLXSpecialButton>> m_items;
};
