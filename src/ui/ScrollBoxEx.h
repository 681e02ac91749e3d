#pragma once
// The scroll box of the board, the palette, the front panel and the property sheet: content
// that follows the thumb while it is dragged, a scroll notification, a hook through which the
// owner claims special keys (Tab, arrows, Enter, Escape), and a mode in which scrolling
// without the mouse (wheel, keys) asks for zooming instead.

#include <QScrollArea>

#include <cstdint>
#include <functional>

class QScrollBar;

// The scroll codes of the notifications.
enum : uint16_t {
    SB_LINEUP = 0,
    SB_LINEDOWN = 1,
    SB_PAGEUP = 2,
    SB_PAGEDOWN = 3,
    SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5,
    SB_TOP = 6,
    SB_BOTTOM = 7,
    SB_ENDSCROLL = 8,
};

class TScrollBoxEx : public QScrollArea {
public:
    using TScrollEvent = std::function<void(TScrollBoxEx* Sender, uint16_t Code, bool Horz)>;
    using TWantSpecialKeyEvent =
        std::function<void(TScrollBoxEx* Sender, uint16_t CharCode, bool& Wanted)>;
    using TNotifyEvent = std::function<void(TScrollBoxEx* Sender)>;
    // Key is a virtual-key code, Shift the shift-state byte; a handler that sets Key to 0
    // keeps the key from the default handling.
    using TKeyEvent = std::function<void(TScrollBoxEx* Sender, uint16_t& Key, uint8_t Shift)>;
    // A handler that sets Key to a null character keeps it from the default handling.
    using TKeyPressEvent = std::function<void(TScrollBoxEx* Sender, QChar& Key)>;

    explicit TScrollBoxEx(QWidget* parent = nullptr);

    bool SmoothScrolling() const { return m_smoothScrolling; }
    void SetSmoothScrolling(bool on);
    // The arrows, page areas, keys and wheel request zooming instead of scrolling, as long
    // as the left mouse button is up.
    bool WillsteZoom = false;

    TScrollEvent OnScroll;
    TWantSpecialKeyEvent OnWantSpecialKey;
    TNotifyEvent OnZoomUp;
    TNotifyEvent OnZoomDown;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;

    // Asks OnWantSpecialKey whether the owner takes this key itself.
    bool WantSpecialKey(uint16_t charCode);

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;

private:
    void ConnectBar(QScrollBar* bar, bool horz);
    void BarAction(QScrollBar* bar, bool horz, int action);
    void ZoomMessage(uint16_t code);
    static bool LeftButtonDown();
    // True when the owner's key handlers consumed the key.
    bool DispatchKeyDown(QKeyEvent* e);

    bool m_smoothScrolling = true;
    int m_pendingZoom = 0; // 0 none, 1 up, 2 down
};
