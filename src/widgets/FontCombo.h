#pragma once
// Pickers of installed font faces and of a face's point sizes. The face combo box lists the
// screen's families, sorted, each name optionally written in its own font and marked as a
// scalable (TrueType-like) or fixed-size face. The size combo box lists the standard sizes of a
// scalable face or the real sizes of a fixed-size one, and can follow a face combo box or a face
// list box: a new face rebuilds the list and keeps the size where the face has it.

#include "widgets/ComboBox.h"
#include "widgets/FontFaces.h"

#include <QList>
#include <functional>

enum TWLXFontCBOption : uint8_t {
    foPrinterFonts = 1, foScreenFonts = 2, foTrueTypeOnly = 4, foDisplayFont = 8, foDisplaySymbol = 16,
    foDisplaySelectedFont = 32
};

class TWLXFontListBox;

class TWLXFontComboBox : public TWLXCustomComboBox {
public:
    explicit TWLXFontComboBox(QWidget* parent = nullptr);

    QString GetFontName() const { return currentText(); }
    // Selects the face (ignoring case); a name not in the list leaves no current item. Runs the
    // change handling unless the name already stands.
    void SetFontName(const QString& name);
    void RefreshFonts();
    uint8_t Options() const { return m_options; }
    void SetOptions(uint8_t value);
    // Called on every face change; a linked size combo box sets it.
    std::function<void()> FontChangeHook;
    // The item heights follow the control's font.
    void UpdateItemHeight();

protected:
    void Change() override;
    void DrawItem(QPainter& painter, const QStyleOptionViewItem& option, int index) const override;
    void changeEvent(QEvent* event) override;

private:
    void FillFontList();
    uint8_t m_options = foScreenFonts | foDisplaySymbol | foDisplaySelectedFont;
};

class TWLXFontSizeComboBox : public TWLXCustomComboBox {
public:
    explicit TWLXFontSizeComboBox(QWidget* parent = nullptr);
    ~TWLXFontSizeComboBox() override;

    QString FontName() const { return m_fontName; }
    // A different face: the list is rebuilt and the size kept where possible.
    void SetFontName(const QString& value);
    // The text as a number; -1 when it is empty or no number.
    int GetFontSize() const;
    void SetFontSize(int size);
    void RefreshSizes() { BuildSizeList(); }
    bool EditorEnabled() const { return m_editorEnabled; }
    void SetEditorEnabled(bool value);
    bool UseNearestSize = false;
    int DefaultSize = 10;
    // The linked face picker: a combo box or a list box, one at a time.
    TWLXFontComboBox* FontCombo() const { return m_fontCombo; }
    void SetFontCombo(TWLXFontComboBox* value);
    TWLXFontListBox* FontList() const;
    void SetFontList(TWLXFontListBox* value);

    // The sizes offered for scalable faces.
    static const QList<int>& StandardSizes();
    // The size nearest to `wanted` among a fixed-size face's sizes in enumeration order (of two
    // equally near ones the first stays); a scalable face has every size.
    static int NearestSize(const QList<int>& sizes, bool scalable, int wanted);
    void UpdateItemHeight();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildSizeList();
    int ValidSize(int size) const;
    void FollowFont();
    void UnlinkFontControl();

    QString m_fontName;
    bool m_editorEnabled = true;
    QPointer<TWLXFontComboBox> m_fontCombo;
    QPointer<QWidget> m_fontList;
};
