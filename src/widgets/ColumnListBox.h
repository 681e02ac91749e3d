#pragma once
// The multi-column list box: a scroll box holding a header above a list whose items are strings
// of fields separated by Delimiter ("Motor;3;ok"), each field drawn in the column of its header
// section with the section's width and alignment. Grid lines, alternating row colours and a
// per-row hook for colours and font; the user resizes columns in the header, and the widths can
// be kept in an INI file. A virtual width wider than the box scrolls header and list together.

#include "widgets/IniCtrl.h"
#include "widgets/Label.h"
#include "widgets/ListBox.h"
#include "widgets/ScrollBox.h"

#include <QHeaderView>
#include <QPointer>

class QStandardItemModel;

enum class TWLXLBGridLines : uint8_t { glNone, glHorizontal, glVertical, glBoth };

// The header: sections with a text, a width and an alignment.
class TWLXHeaderControl : public QHeaderView {
public:
    explicit TWLXHeaderControl(QWidget* parent = nullptr);

    int SectionCount() const { return count(); }
    void AddSection(const QString& text, int width, Qt::Alignment alignment = Qt::AlignLeft);
    void ClearSections();
    QString SectionText(int index) const;
    void SetSectionText(int index, const QString& text);
    int SectionWidth(int index) const { return sectionSize(index); }
    void SetSectionWidth(int index, int width) { resizeSection(index, width); }
    Qt::Alignment SectionAlignment(int index) const;
    int TotalSectionWidth() const;

private:
    QStandardItemModel* m_model;
};

// The list inside the box; its mouse moves also reach the box.
class TWLXMyListBox : public TWLXExtListBox {
public:
    using TWLXExtListBox::TWLXExtListBox;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
};

class TWLXListBox : public TWLXCustomScrollBox {
public:
    using TGetLineSettingsEvent =
        std::function<void(void* sender, int index, unsigned state, int32_t& background, QFont& font)>;
    using TSectionEvent = std::function<void(void* sender, int section, int width)>;
    using TSectionNotifyEvent = std::function<void(void* sender, int section)>;
    using TIniEvent = std::function<void(void* sender, TWLXIniCtrl* ini, const QString& section)>;

    explicit TWLXListBox(QWidget* parent = nullptr);
    ~TWLXListBox() override;

    TWLXHeaderControl& Header() { return *m_header; }
    TWLXMyListBox& List() { return *m_list; }
    // The list's items, selection and sections.
    QStringList GetItems() const { return m_list->Items(); }
    bool GetSelected(int index) const { return m_list->Selected(index); }
    void Clear() { m_list->Clear(); }
    TWLXHeaderControl& GetHeaderSections() { return *m_header; }
    void SetFocus() { m_list->setFocus(); }
    bool Focused() const { return hasFocus() || m_list->hasFocus(); }

    // Booleans: 0 Enabled, 1 ExtendedSelect, 2 HeaderVisible, 3 MultiSelect, 4 Sorted,
    // 5 AllowResize, 6 ShowHint, 7 ParentShowHint, 8 TabStop, 9 ItemAutoHeight, 12 HeaderHotTrack,
    // 13 HeaderFlat, 14 AlternateColors, 15 BeveledFocus, 16 VirtualAutoWidth, 21 AutoScroll.
    bool GetBooleanProp(int index) const;
    void SetBooleanProp(int index, bool value);
    // Colours: 0 Color, 1 SelectedColor, 2 GridHorzColor, 3 GridVertColor, 4 SelectedFontColor,
    // 5 AltLineColor, 6 AltFontColor, 7 BevelFocusShadowColor, 8 BevelFocusLightColor.
    int32_t GetColorProp(int index) const;
    void SetColorProp(int index, int32_t value);
    // Integers: 0 HeaderHeight, 1 ItemIndex, 2 TopIndex, 3 SelCount (read only), 4 ItemHeight,
    // 5 the number of header sections (read only).
    int GetIntegerProp(int index) const;
    void SetIntegerProp(int index, int value);
    // Fonts: 0 HeaderFont, 1 Font.
    QFont GetFontProp(int index) const;
    void SetFontProp(int index, const QFont& value);
    // Pen styles: 0 GridHorzStyle, 1 GridVertStyle.
    void SetPenStyleProp(int index, Qt::PenStyle value);

    QChar Delimiter() const { return m_delimiter; }
    void SetDelimiter(QChar value);
    TWLXLBGridLines GridLines() const { return m_gridLines; }
    void SetGridLines(TWLXLBGridLines value);
    uint8_t ColumnOptions() const { return m_columnOptions; }
    void SetColumnOptions(uint8_t value);
    uint8_t SelectedFontStyle() const { return m_selectedFontStyle; }
    void SetSelectedFontStyle(uint8_t value);
    TWLXListBoxStyle Style() const { return m_style; }
    void SetStyle(TWLXListBoxStyle value);
    int VirtualWidth() const { return m_virtualWidth; }
    void SetVirtualWidth(int value);
    // The fields of an item: every delimiter ends one; the text after the last is one when not
    // empty.
    static QStringList SplitFields(const QString& item, QChar delimiter);

    TWLXIniCtrl* IniLink() const { return m_iniLink; }
    void SetIniLink(TWLXIniCtrl* value) { m_iniLink = value; }
    TWLXIniUse IniUse = TWLXIniUse::ioNone;
    QString Section = QStringLiteral("Common");
    QString IniKey = QStringLiteral("ListBoxData");
    // The section widths joined by ",", e.g. "90,230,70,200".
    QString ColumnWidthsText() const;
    // Widths from such a text; missing sections are added ("S. 2"), fields that are no number
    // are passed over.
    void ApplyColumnWidths(const QString& text);
    virtual void ReadIniData();
    virtual void WriteIniData();
    // After reading form data: widths from the INI file, the virtual width, the layout.
    void Loaded();

    TSectionEvent OnHeaderSized;
    TSectionNotifyEvent OnHeaderSectionResize;
    TWLXCustomListBox::TDrawItemEvent OnDrawItem, OnPrepareDrawItem;
    TGetLineSettingsEvent OnGetLineSettings;
    TIniEvent OnIniReadData, OnIniWriteData;

    // A mouse move over the list (list coordinates).
    virtual void ListMouseMove(Qt::KeyboardModifiers shift, int x, int y);

protected:
    void TransparentChanged() override { m_list->SetTransparent(Transparent()); }
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void DrawListItem(TCanvas& canvas, int index, const TWLXRect& rect, unsigned state);
    void PrepareItemCanvas(TCanvas& canvas, const TWLXRect& rect, unsigned state, int index);
    void SectionResized(int section, int width);
    void UpdateVirtualWidth();
    void AlignControls();
    TWLXIniCtrl* IniControl() const;
    void RefreshList();

    TWLXHeaderControl* m_header;
    TWLXMyListBox* m_list;
    QChar m_delimiter = u';';
    TWLXLBGridLines m_gridLines = TWLXLBGridLines::glNone;
    TWLXListBoxStyle m_style = TWLXListBoxStyle::lbStandard;
    int32_t m_colors[7];
    uint8_t m_selectedFontStyle = 0;
    int m_virtualWidth = 0;
    bool m_virtualAutoWidth = false;
    bool m_alternateColors = false;
    TWLXIniCtrl* m_iniLink = nullptr;
    uint8_t m_columnOptions = 0;
    Qt::PenStyle m_gridStyles[2] = {Qt::SolidLine, Qt::SolidLine};
    bool m_headerFlat = false;
};
