#pragma once
// A push button that paints itself completely: a two-colour gradient in one of six patterns,
// a 3-D frame and a caption with optional highlight and shadow copies that make it look raised
// or inset. It is the face of the switch element in its button look (there its own click
// handling is off and SetDown drives the pressed look) and the preview of the switch dialog.

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <functional>

enum TGradientStyle : uint8_t {
    gsHorizontal,
    gsVertical,
    gsElliptic,
    gsRectangle,
    gsVertCenter,
    gsHorizCenter
};
enum TTextStyle : uint8_t { tsNormal, tsRaised, tsInset };
enum TShadeType : uint8_t { stLight, stHeavy };
enum TJustification : uint8_t { jLeft, jCenter, jRight };
// Colour sets a form designer offers; they change nothing at run time.
enum class TPreset : uint8_t { None, GoldCoast, LimeBox, Aluminum, SunRise, BrassedOff };

class TGradBtn : public QWidget {
public:
    explicit TGradBtn(QWidget* parent = nullptr);

    // Colours are 0x00BBGGRR values or system colours (0xFF000000 + index); the gradient
    // takes the low three bytes of its two colours as they stand.
    int32_t DisabledColor() const { return m_disabledColor; }
    void SetDisabledColor(int32_t c);
    int32_t BtnHiliteClr() const { return m_btnHilite; }
    void SetBtnHiliteClr(int32_t c);
    int32_t BtnShadowClr() const { return m_btnShadow; }
    void SetBtnShadowClr(int32_t c);
    int BtnFrameSize() const { return m_frameSize; }
    // Accepted only when it differs and is at most min(width, height) div 2 - 5.
    void SetBtnFrameSize(int size);
    int32_t TxtHiliteClr() const { return m_txtHilite; }
    void SetTxtHiliteClr(int32_t c);
    int32_t TxtShadowClr() const { return m_txtShadow; }
    void SetTxtShadowClr(int32_t c);
    int32_t BeginColor() const { return m_beginColor; }
    void SetBeginColor(int32_t c);
    int32_t EndColor() const { return m_endColor; }
    void SetEndColor(int32_t c);
    TGradientStyle GradientStyle() const { return m_gradient; }
    void SetGradientStyle(TGradientStyle style);
    TTextStyle TextStyle() const { return m_textStyle; }
    void SetTextStyle(TTextStyle style);
    TShadeType TextShadeType() const { return m_shadeType; }
    void SetTextShadeType(TShadeType type);
    TJustification Justification() const { return m_justification; }
    void SetJustification(TJustification j);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);
    int32_t FontColor() const { return m_fontColor; }
    void SetFontColor(int32_t c);
    bool SwapColors = true;
    bool ShowFocus = false;
    // True: the button's own press, release and click handling is off (a switch face).
    bool BisteKnopf = false;
    TPreset Presets = TPreset::None;

    std::function<void()> OnClick;
    std::function<void()> OnMouseEnter;
    std::function<void()> OnMouseLeave;

    // The pressed look driven from outside: on a change the two colours are exchanged.
    void SetDown(bool down);
    bool Down() const { return m_down; }
    bool Lowered() const { return m_lowered; }
    void ShowPressed();
    void ShowReleased();
    // A click (mouse, Enter or the caption's accelerator): nothing at all for a face.
    void Click();

    // The id of the shortcut that the caption's accelerator holds; 0 without one.
    int AcceleratorId() const { return m_shortcut; }
    // The caption as shown: single "&" removed, "&&" kept as one "&".
    static QString DisplayCaption(const QString& caption);
    // The whole face painted into a picture of the widget's size.
    QImage Render() const;
    // Step i of n between two colours, per channel begin + (i (end - begin)) div n.
    static int32_t GradientStep(int32_t begin, int32_t end, int i, int n);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    // The caption's accelerator: a click when enabled, and handled either way.
    bool event(QEvent* event) override;

private:
    void SwapBeginEnd();
    void PaintGradient(QPainter& painter, int w, int h) const;

    int32_t m_disabledColor = int32_t(0xFF000011);
    int32_t m_btnHilite = int32_t(0xFF000014);
    int32_t m_btnShadow = int32_t(0xFF000010);
    int m_frameSize = 1;
    int32_t m_txtHilite = int32_t(0xFF000014);
    int32_t m_txtShadow = int32_t(0xFF000010);
    int32_t m_beginColor = 0x800000;
    int32_t m_endColor = 0xFFFF00;
    TGradientStyle m_gradient = gsVertCenter;
    TTextStyle m_textStyle = tsRaised;
    TShadeType m_shadeType = stLight;
    TJustification m_justification = jCenter;
    QString m_caption;
    int32_t m_fontColor = 0;
    bool m_lowered = true;
    bool m_down = false;
    bool m_clicked = false;
    int m_shortcut = 0;  // id of the caption's accelerator; 0: none
};
