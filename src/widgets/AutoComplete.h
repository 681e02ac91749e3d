#pragma once
// Completion of a single-line edit from a list of known entries: in place (the completed tail is
// selected so that the next typed character replaces it), in a drop-down list of the entries that
// start with the typed text, or both; and adding an unknown text to the list on Enter or when the
// edit is left. References to the list and the served edit are guarded: a destroyed one is
// simply gone.

#include "widgets/StringList.h"
#include "widgets/WLXObject.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <vector>

class QListWidget;
class TWLXCustomEdit;

enum TWLXAutoCompleteMode : uint8_t { amText = 1, amPopup = 2 };
enum TWLXAutoCompleteAddOn : uint8_t { aaControlExit = 1, aaControlReturn = 2 };
enum class TWLXAutoCompleteSource : uint8_t { asStringList };
using TWLXAutoCompleteAddEvent = std::function<void(void* sender, TWLXCustomEdit* edit, QString& addText,
                                                    bool& add, TWLXAutoCompleteSource& addTo)>;

class TWLXEditAutoComplete : public QObject, public TWLXCustomComponent {
public:
    explicit TWLXEditAutoComplete(QObject* parent = nullptr);
    ~TWLXEditAutoComplete() override;

    // The list of entries: item StringListIndex of a string list (none once it is freed).
    TWLXStringList* StringList() const { return static_cast<TWLXStringList*>(m_listLink.Sender); }
    void SetStringList(TWLXStringList* list);
    int StringListIndex() const { return m_listIndex; }
    // Ignored without a list; at or past the item count it becomes the last item.
    void SetStringListIndex(int value);
    uint8_t Mode = 0;
    uint8_t AddUnknownOn = 0;
    bool CaseSensitive = true;
    bool Enabled = true;
    TWLXAutoCompleteAddEvent OnAdd;
    static constexpr int kDropDownLines = 8;

    // After every change of the edit's text.
    void Complete(TWLXCustomEdit* edit, const QString& text);
    // On Enter or on leaving the edit: offers an unknown text for adding.
    void AddUnknown(TWLXCustomEdit* edit, const QString& text);
    // Keys of the served edit while the drop-down is open; true when used.
    bool EditKeyUp(TWLXCustomEdit* edit, int key);
    bool EditKeyPress(TWLXCustomEdit* edit, int key);
    // The edit lost the focus: back to what was typed, and the drop-down closes.
    void EditFocusLost(TWLXCustomEdit* edit);
    void CloseDropDown();
    QListWidget* DropDown() const { return m_dropDown; }
    QString Typed() const { return m_typed; }

private:
    QStringList Entries() const;
    QString Fold(const QString& s) const { return CaseSensitive ? s : s.toUpper(); }
    bool StartsWith(const QString& entry, const QString& text) const { return Fold(entry).startsWith(Fold(text)); }
    void ShowDropDown(TWLXCustomEdit* edit, const QString& typed);
    void TakeSelected(TWLXCustomEdit* edit, const QString& text);

    // Registered with the string list, which clears it when it goes away.
    TWLXChangeLink m_listLink;
    int m_listIndex = 0;
    QString m_typed;
    QPointer<TWLXCustomEdit> m_served;
    QListWidget* m_dropDown = nullptr;
};
