#pragma once
// The selection list of the front panel: a drop-down list of texts from which the operator
// picks one. The element keeps the picked index; hotkeys step through the list, and the
// published page offers the list as a form. The settings list shares the stepping rules and
// the form.

#include "frontpanel/FP_Element.h"

#include <QStringList>

#include <cstdint>
#include <functional>

class TWLXComboBox;

// The index a list hotkey action leads to: 1 the first entry, 2 the last, 3 the start
// index, 4 the next entry when there is one, 5 the previous one when the index is above 0;
// any other action keeps the index. An empty list gives -1 for the first and last entry.
int ListActionIndex(int32_t action, int index, int count, int start);

// The published form of a list: the select field named after the element with one option per
// entry (the selected one marked) and the submit button. `selectStyle` goes into the select's
// style attribute; `shownText`, when not null, becomes its value attribute.
void WriteListWebForm(TFP_Element& element, QStringList& lines, const QString& formLine,
                      const QString& selectStyle, const QString* shownText,
                      const QStringList& entries, int selected);

// The index a web form submitted for a list, or -1 when the text is no index of its entries.
int SubmittedListIndex(const QString& text, int count);

class TAuswahlliste : public TFP_Element {
public:
    FP_CLASS_NAME(TAuswahlliste)

    explicit TAuswahlliste(QWidget* owner = nullptr);

    TWLXComboBox* Liste = nullptr;
    int32_t ZeichenFarbe = 0x00FF00;  // RGB (0, 255, 0)
    int32_t Vorgabe = 0;              // start index
    int32_t Auswahl = -1;             // index picked now; -1 when none
    // Fired after the settings dialog; the component adapts its outputs to the entries.
    std::function<void()> OnItemsChanged;
    QStringList ActionNames;

    QStringList Items() const;
    // Replaces the entries; the picked index stays when it is still an entry.
    void SetItems(const QStringList& items);
    int Count() const;
    // Picks entry `index`; an index outside the entries leaves none picked.
    void Select(int index);
    // The text the list shows (empty when nothing is picked).
    QString ShownText() const;
    void SetZeichenFarbe(int32_t colour);
    void HotkeyAction(int32_t action);

    void ApplyStartValue() override;
    void SetHintergrundFarbe(int32_t color) override;
    void SaveSettings(TIniFile& ini, const QString& path) override;
    bool LoadSettings(TIniFile& ini, const QString& path, bool checkOnly) override;
    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    bool GetBisteHSkalierbar() const override { return true; }
    bool GetBisteVSkalierbar() const override { return false; }
    void WriteWebElement(QStringList& lines) override;
    void WriteWebSnapshot(QStringList& lines) override;
    void WriteWebImageMap(QStringList& lines) override;
    void WebSubmit(const QString& value) override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The list fills the element inside its frame; the element is as high as the list.
    void FitToList();
    void ApplyListColors();
};
