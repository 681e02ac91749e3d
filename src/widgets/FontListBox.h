#pragma once
// The font list box: the installed font faces as a list, each name optionally written in its own
// font and marked as a scalable or device face, with a sample window that follows the mouse. A
// linked font size combo box follows the chosen face.

#include "widgets/FontCombo.h"
#include "widgets/ImageListBox.h"

#include <functional>

class QLabel;

// Where the sample stands: right of the list at its top, beside the mouse, or right of the list
// at the mouse's height.
enum class TWLXFontListExampleAlign : uint8_t { eaListRightTop, eaMousePos, eaRow };

class TWLXFontListBox : public TWLXCustomDerivedImageListBox {
public:
    explicit TWLXFontListBox(QWidget* parent = nullptr);
    ~TWLXFontListBox() override;

    // The current item's face; empty without one.
    QString GetFontName() const;
    // Selects the face (case ignored; none when it is missing) and tells the linked size box.
    void SetFontName(const QString& name);
    void RefreshFonts() { FillFontList(); }
    uint8_t Options() const { return m_options; }
    void SetOptions(uint8_t value);
    // After reading form data: the faces are listed.
    void Loaded() { RefreshFonts(); }

    bool ShowExample = false;
    int ExampleFontSize = 12;
    QString ExampleText = QStringLiteral("Abc");
    TWLXFontListExampleAlign ExampleAlign = TWLXFontListExampleAlign::eaListRightTop;
    // Called on every face change; a linked size combo box sets it.
    std::function<void()> FontChangeHook;

    // The sample of the item under the point (list coordinates); none hides it.
    void ShowExampleAt(QPoint point);
    bool ExampleShowing() const;
    // How often the sample was put up (for the item under the mouse).
    int ExampleShows() const { return m_exampleShows; }
    void HideExample();
    // The kind of the listed face (TWLXFontType bits).
    int FontTypeOf(int index) const;

protected:
    void DoSelect() override;
    void DrawItem(TCanvas& canvas, int index, const TWLXRect& rect, unsigned state) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void FillFontList();
    void ShowExampleFor(int index);

    uint8_t m_options = foScreenFonts | foDisplaySymbol;
    QLabel* m_example = nullptr;
    int m_lastExampleItem = -1;
    int m_exampleShows = 0;
    QPoint m_mousePos;
};
