#pragma once
// The settings list of the front panel: the front-panel settings files ("*.EST") of the
// project folder. Picking an entry loads that file into the front panel while the window keeps
// its place and size, so that the operator switches between stored sets of control positions
// with one click or a hotkey. A file that cannot be read is reported and leaves the list as
// it was.

#include "frontpanel/elements/ListElement.h"

#include <QListWidget>
#include <QStringList>

#include <cstdint>

class TSetliste;

// The list box: leaving it clears the selection, so that a later click on the same entry
// loads it again.
class TSetlisteBox : public QListWidget {
public:
    explicit TSetlisteBox(TSetliste* owner);

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    TSetliste* m_owner;
};

class TSetliste : public TListElement {
public:
    FP_CLASS_NAME(TSetliste)

    explicit TSetliste(QWidget* owner = nullptr);

    TSetlisteBox* Liste = nullptr;
    int32_t ListFontColor = 0x00FF00;

    // Lists the settings files of the project folder (their names without folder and
    // extension), by name.
    void FillList();
    // Loads the file of the selected entry; nothing while no entry is selected.
    void LoadSelected();
    // The file behind entry i.
    QString EntryFile(int index) const;
    int Count() const override { return Liste->count(); }
    int ItemIndex() const override { return Liste->currentRow(); }
    QStringList Items() const override;
    // Selects entry `index`; an index outside the entries selects none. Loads nothing.
    void Select(int index) override;
    // Selects the entry the action leads to and loads it.
    void HotkeyAction(int32_t action) override;

    void SaveSettings(TIniFile& ini, const QString& path) override;
    bool LoadSettings(TIniFile& ini, const QString& path, bool checkOnly) override;
    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    bool GetBisteHSkalierbar() const override { return true; }
    bool GetBisteVSkalierbar() const override { return true; }
    void WriteWebElement(QStringList& lines) override;

protected:
    void ApplyListColors() override;
    void Submitted() override { LoadSelected(); }
    void resizeEvent(QResizeEvent* event) override;

private:
    QStringList m_files;  // the file of each entry
};
