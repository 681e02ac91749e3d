#pragma once
// The frame and background dialog of front-panel elements: border width, inner and outer
// bevel, bevel width, frame colour and background colour (each individual or taken from the
// front panel) and transparency, with a live preview. The caller fills the controls, shows the
// dialog and reads the controls back on OK; the dialog only keeps its preview consistent.

#include <QDialog>

#include <cstdint>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

// A filled rectangle (brush colour, pen colour and style) that reports a mouse release.
class TPanelShape : public QWidget {
    Q_OBJECT
public:
    explicit TPanelShape(QWidget* parent = nullptr);
    int32_t BrushColor() const { return m_brushColor; }
    void SetBrushColor(int32_t color);
    int32_t PenColor() const { return m_penColor; }
    void SetPenColor(int32_t color);
    Qt::PenStyle PenStyle() const { return m_penStyle; }
    void SetPenStyle(Qt::PenStyle style);

signals:
    void mouseUp();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int32_t m_brushColor = 0xFFFFFF;
    int32_t m_penColor = 0;
    Qt::PenStyle m_penStyle = Qt::SolidLine;
};

// A panel with an outer bevel, a border in its colour and an inner bevel; its one child
// widget fills what is left inside.
class TPreviewPanel : public QWidget {
    Q_OBJECT
public:
    enum TBevel { bvNone, bvLowered, bvRaised };
    explicit TPreviewPanel(QWidget* parent = nullptr);
    int32_t Color() const { return m_color; }
    void SetColor(int32_t color);
    TBevel BevelInner() const { return m_inner; }
    void SetBevelInner(TBevel bevel);
    TBevel BevelOuter() const { return m_outer; }
    void SetBevelOuter(TBevel bevel);
    int BevelWidth() const { return m_bevelWidth; }
    void SetBevelWidth(int width);
    int BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int width);
    // The area inside the bevels and the border.
    QRect InnerRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Relayout();
    int32_t m_color = 0xC0C0C0;
    TBevel m_inner = bvNone;
    TBevel m_outer = bvRaised;
    int m_bevelWidth = 1;
    int m_borderWidth = 0;
};

class TPanelDlg : public QDialog {
    Q_OBJECT
public:
    explicit TPanelDlg(QWidget* parent = nullptr);

    void TranslateCaptions();
    void UpdatePreview();
    // The window's system commands: context help opens the dialog's help topic. True when
    // handled.
    bool WMSysCommand(int command);

    // Handlers.
    void ColorShapeMouseUp();
    void BK_ShapeMouseUp();
    void rb_IndividuellClick();
    void rb_BK_IndividuellClick();
    void cb_TransparentClick();

    // The colour picker a shape click opens (returns the given colour when cancelled); the
    // shared colour dialog unless replaced.
    std::function<int32_t(int32_t)> PickColor;
    // The front panel's default colour, taken when a colour follows the front panel.
    int32_t DesignPanelColor = 14215660;

    QGroupBox* GroupBox1;
    QLabel* Label3;
    QSpinBox* se_Border;
    QLabel* Label1;
    QComboBox* cb_Outer;
    QLabel* Label2;
    QComboBox* cb_Inner;
    QLabel* Label4;
    QSpinBox* se_Bevel;
    QGroupBox* GroupBox2;
    QRadioButton* rb_Individuell;
    QRadioButton* rb_Anpassen;
    TPanelShape* ColorShape;
    QGroupBox* GroupBox3;
    TPreviewPanel* VorschauPanel;
    TPanelShape* VorschauShape;
    QCheckBox* cb_Transparent;
    QGroupBox* GroupBox4;
    QRadioButton* rb_BK_Individuell;
    QRadioButton* rb_BK_Anpassen;
    TPanelShape* BK_Shape;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    // A shape click: its "individual colour" button is chosen and the colour picked.
    void PickShapeColor(QRadioButton* individual, TPanelShape* shape);
    // A radio button of a colour changed: following the front panel takes its colour.
    void FollowPanelColor(QRadioButton* individual, TPanelShape* shape);
};
