#pragma once
// The library's label: a caption with optional 3D effect, word wrap, nine alignments, path or end
// ellipsis, an accelerator that focuses another control, automatic sizing to the text, a blinking
// ("twinkle") mode and a hyperlink mode that opens the caption or a target.

#include "widgets/Caption3D.h"
#include "widgets/ControlBase.h"
#include "widgets/EffectText.h"

#include <QPointer>
#include "widgets/TimerPool.h"

#include <memory>
#include <functional>

enum TWLXLabelOption : uint8_t { loPathEllipsis = 1, loEndEllipsis = 2, loEditControl = 4 };
// Stored in form data: keep the order.
enum class TWLXJumpModes : uint8_t { jmInternet, jmApplication, jmNone, jmCustom };

class TWLXCustomSimpleLabel : public TWLXBaseGraphicControl {
public:
    explicit TWLXCustomSimpleLabel(QWidget* parent = nullptr);
    ~TWLXCustomSimpleLabel() override;

    QString Caption() const { return m_caption; }
    void SetCaption(const QString& value);
    TWLXAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TWLXAlignment value);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool value);
    bool MultiLine() const { return m_multiLine; }
    void SetMultiLine(bool value);
    bool ShowAccelChar() const { return m_showAccel; }
    void SetShowAccelChar(bool value);
    uint8_t Options() const { return m_options; }
    void SetOptions(uint8_t value);
    int32_t Color = clWindow;
    int32_t FontColor() const { return m_fontColor; }
    void SetFontColor(int32_t value);
    TWLX3DCaption& Font3D() { return m_font3D; }
    QWidget* FocusControl() const { return m_focusControl; }
    void SetFocusControl(QWidget* value);
    bool FontSmoothing() const { return m_fontSmoothing; }
    void SetFontSmoothing(bool value);

    bool Twinkle() const { return m_twinkle; }
    void SetTwinkle(bool value);
    int32_t TwinkleColor = clNone;
    int TwinkleVisible = 700;
    int TwinkleInVisible = 700;
    bool UseGlobalTimer = false;
    bool TwinkleVisiblePhase() const { return m_visiblePhase; }
    const TWLXTimer* TwinkleTimer() const { return m_timer.get(); }
    // One tick of the twinkle timer: the phase flips.
    void TwinkleTick();

    QString Jump;
    int32_t ActiveColor = 0x800080;
    int32_t InActiveColor = 0xFF0000;
    bool JumpUnderline() const { return m_jumpUnderline; }
    void SetJumpUnderline(bool value);
    TWLXJumpModes JumpMode() const { return m_jumpMode; }
    void SetJumpMode(TWLXJumpModes value);
    void SetInActiveColor(int32_t value);
    // The old "UseAsJump" switch of form data: an internet link.
    void ReadLegacyUseAsJump(bool value) { m_useAsJump = value; }
    void Loaded();
    TNotifyEvent OnClick;

    // Opens a link target; false when it cannot be opened. Tests replace it.
    static std::function<bool(const QString& target)>& ShellOpen();
    // The hyperlink target of a click in the internet or application mode.
    QString JumpTarget() const;
    void Click();
    // The accelerator: the focus control takes the focus; false when it cannot (unanswered).
    bool DialogChar(QChar c);

    // Drawing flags: single line or word break, alignment, options, no prefix.
    unsigned TextFlags() const;
    // The text as drawn into a rectangle of the given width (with the ellipsis options).
    QString DisplayText(int width) const;
    void AdjustSize();
    void Paint(TCanvas& canvas);
    bool IsEmpty() const override { return Transparent() && m_caption.isEmpty(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void FontChanged();
    void UpdateShortcut();
    bool IsAlignedByLayout() const;

    QString m_caption;
    TWLXAlignment m_alignment = TWLXAlignment::agTopLeft;
    bool m_autoSize = true;
    bool m_multiLine = false;
    bool m_showAccel = true;
    uint8_t m_options = 0;
    int32_t m_fontColor = clWindowText;
    TWLX3DCaption m_font3D;
    QPointer<QWidget> m_focusControl;
    bool m_fontSmoothing = false;
    bool m_twinkle = false;
    bool m_visiblePhase = true;
    bool m_painting = false;
    std::unique_ptr<TWLXTimer> m_timer;
    bool m_jumpUnderline = true;
    TWLXJumpModes m_jumpMode = TWLXJumpModes::jmNone;
    bool m_useAsJump = false;
    int m_shortcutId = 0;
};

class TWLXSimpleLabel : public TWLXCustomSimpleLabel {
public:
    using TWLXCustomSimpleLabel::TWLXCustomSimpleLabel;
};
