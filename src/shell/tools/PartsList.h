#pragma once
// The parts list: a board's components counted by palette entry, category by category in
// palette row order, then its macros by name (optionally with their inner parts indented),
// written as text lines into the parts-list window. Each library file and each component class
// is counted once, even where two categories share a library or a class.

#include <QByteArray>
#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QPlainTextEdit;
class QToolButton;
class TIOBauteil;
class TPlatine;

class TPartsLister {
public:
    TPartsLister();
    ~TPartsLister();

    // The library of a palette row (empty bytes: the row has no library) and its file name
    // (rows naming the same file are read once).
    std::function<QByteArray(int row)> Library;
    std::function<QString(int row)> LibraryName;
    bool Groups = false;  // "Gruppenüberschriften"
    bool Macros = false;  // "Makros aufschlüsseln"

    // The lines of a board's list (without the title lines).
    QStringList List(TPlatine& board);

private:
    struct TEntry {
        QString ClassName;
        QString DeviceClass;  // hardware entries: the device's class
        QString PaletteName;
    };
    struct TCategory {
        QString Caption;
        std::vector<TEntry> Entries;
    };
    void LoadCategories();
    void ListBoardParts(TPlatine& board, int indent, QStringList& lines);

    std::vector<TCategory> m_categories;
    bool m_loaded = false;
};

// Device class of a hardware component, empty for any other item.
QString DeviceClassOf(const TIOBauteil& component);

// The parts-list window: tool buttons to print, open and save the list, the two options, and
// the list itself. Ticking an option asks the owner to build the list again.
class TSList : public QDialog {
public:
    explicit TSList(QWidget* parent = nullptr);

    QToolButton* SB_Print;
    QToolButton* SB_Load;
    QToolButton* SB_Save;
    QCheckBox* CB_Makros;
    QCheckBox* CB_Gruppen;
    QPlainTextEdit* Memo;
    std::function<void()> OnChange;
    // File dialogs (empty result: cancelled); empty functions show a file dialog.
    std::function<QString(bool save)> AskFileName;

    void FormCreate();
    void SB_LoadClick();
    void SB_SaveClick();
    void SB_PrintClick();

protected:
    bool event(QEvent* event) override;
};

// The lines the window shows for a board: the title in the current language, an empty line and
// the list.
QStringList PartsListText(TPartsLister& lister, TPlatine& board);
