#pragma once
// The board view: the widget that shows one circuit board (TPlatine) through the editor of its
// tab (TBoardEditor: view state, mode and tools) with scroll bars, paints it through TCanvas
// and hands its mouse messages to the editor, which routes them by mode (select, wiring,
// placing, text, zoom); the wheel zooms, a timer drives auto-scroll.
//
// The editor's view state keeps the zoom and the view offset; the scroll bars follow them
// (SyncScrollBars is what an OnChange handler of the board calls) and write the offset back
// when the user scrolls. The board is painted into an off-screen image that the view keeps: the board's
// redraw requests mark parts of it stale, and live painting during a run draws straight into
// it. The transient marks - selection rectangle, wire preview, crosshair - are drawn over that
// image in every paint with an XOR pen, instead of XOR-drawing on the screen and erasing again;
// the rubber-band wires of a drag are drawn the same way in red.

#include <QAbstractScrollArea>
#include <QImage>
#include <QRegion>
#include <QTimer>

#include <functional>

class TBoardEditor;
class TCanvas;
class TPlatine;

class TBoardView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TBoardView(QWidget* parent = nullptr);
    ~TBoardView() override;

    // Shows a board through its editor (nullptr: none) and installs the view's redraw hooks on
    // them; the hooks of the one shown before are removed. A shown editor and its board must
    // outlive the view, or be taken away with SetEditor(nullptr) before they are destroyed.
    void SetEditor(TBoardEditor* editor);
    TBoardEditor* Editor() const { return m_editor; }
    TPlatine* Board() const { return m_board; }

    // Scroll bar ranges and positions from the view state's zoom and view offset; the offset
    // is read back as the scroll bars clamp it.
    void SyncScrollBars();
    // Shows the editor's cursor number as the mouse cursor.
    void ApplyCursor();

    // Hint text of the item under the mouse in select mode (empty: hide), at every move so
    // that the hint follows the mouse. Without a handler the view shows it as a tool tip.
    std::function<void(const QString& text)> OnHint;
    // Every mouse move: the screen point of the board control and the point in the view.
    std::function<void(QPoint screenPoint, QPoint devicePoint)> OnHover;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;

private:
    void AutoScrollStep();
    void UpdateAutoScrollTimer();

    void InstallHooks();
    void RemoveHooks();
    void InvalidateBoardRect(int left, int top, int right, int bottom);
    void InvalidateAll();
    void LivePaint(const std::function<void(TCanvas&)>& painter);
    bool CacheCurrent() const;
    void RenderStale();
    void PaintOverlays(QPainter& painter);
    QPoint ScreenPoint(QPoint devicePoint) const;
    void ShowHint(const QString& text, QPoint globalPos);

    TBoardEditor* m_editor = nullptr;
    TPlatine* m_board = nullptr;  // the editor's board
    QTimer m_autoScroll;
    QImage m_cache;            // the board as last painted, one pixel per device pixel
    QRegion m_stale;           // parts of m_cache to paint again
    double m_cacheZoom = 0;
    QPoint m_cacheOffset;
    bool m_syncing = false;
    bool m_painting = false;
    QString m_hint;
};
