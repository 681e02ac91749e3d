#pragma once
// The selection list of the front panel: a drop-down list of texts from which the operator
// picks one. The element keeps the picked index; hotkeys step through the list, and the
// published page offers the list as a form.

#include "frontpanel/elements/ListElement.h"

#include <QStringList>

#include <cstdint>
#include <functional>

class TWLXComboBox;

class TAuswahlliste : public TListElement {
public:
    FP_CLASS_NAME(TAuswahlliste)

    explicit TAuswahlliste(QWidget* owner = nullptr);

    TWLXComboBox* Liste = nullptr;
    int32_t ZeichenFarbe = 0x00FF00;  // RGB (0, 255, 0)
    int32_t Auswahl = -1;             // index picked now; -1 when none
    // Fired after the settings dialog; the component adapts its outputs to the entries.
    std::function<void()> OnItemsChanged;

    QStringList Items() const override;
    // Replaces the entries; the picked index stays when it is still an entry.
    void SetItems(const QStringList& items);
    int Count() const override;
    int ItemIndex() const override;
    // Picks entry `index`; an index outside the entries leaves none picked.
    void Select(int index) override;
    // The text the list shows (empty when nothing is picked).
    QString ShownText() const;
    void SetZeichenFarbe(int32_t colour);

    void SaveSettings(TIniFile& ini, const QString& path) override;
    bool LoadSettings(TIniFile& ini, const QString& path, bool checkOnly) override;
    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    bool GetBisteHSkalierbar() const override { return true; }
    bool GetBisteVSkalierbar() const override { return false; }
    void WriteWebElement(QStringList& lines) override;

protected:
    void ApplyListColors() override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The list fills the element inside its frame; the element is as high as the list.
    void FitToList();
};
