#pragma once
// What the selection list and the settings list of the front panel share: a start index, ten
// hotkeys that step through the entries, the colours of the list control, the settings
// dialog's frame, and the published form and snapshot.

#include "frontpanel/FP_Element.h"

#include <QStringList>

#include <cstdint>
#include <functional>

class TPropScrollbox;

// The index a list hotkey action leads to: 1 the first entry, 2 the last, 3 the start
// index, 4 the next entry when there is one, 5 the previous one when the index is above 0;
// any other action keeps the index. An empty list gives -1 for the first and last entry.
int ListActionIndex(int32_t action, int index, int count, int start);

// The index a web form submitted for a list, or -1 when the text is no index of its entries.
int SubmittedListIndex(const QString& text, int count);

class TListElement : public TFP_Element {
public:
    explicit TListElement(QWidget* owner = nullptr);

    int32_t Vorgabe = 0;  // start index
    QStringList ActionNames;

    virtual int Count() const = 0;
    virtual int ItemIndex() const = 0;
    virtual QStringList Items() const = 0;
    // Selects entry `index`; an index outside the entries selects none.
    virtual void Select(int index) = 0;
    // Selects the entry the hotkey action leads to.
    virtual void HotkeyAction(int32_t action);

    void ApplyStartValue() override;
    void SetHintergrundFarbe(int32_t color) override;
    void WriteWebSnapshot(QStringList& lines) override;
    void WriteWebImageMap(QStringList& lines) override;
    // An index of an entry selects it (then Submitted); any other text is ignored.
    void WebSubmit(const QString& value) override;

protected:
    // The list control takes the element's colours.
    virtual void ApplyListColors() = 0;
    // After a web form selected an entry.
    virtual void Submitted() {}
    // The settings dialog: the colour row (`colourCaption`), the background row, the class's
    // rows, the hotkey and option rows. On OK the background is taken. Returns the result.
    int RunListDialog(int helpContext, const QString& colourCaption, int32_t& colour,
                      const std::function<void(TPropScrollbox&)>& ownRows);
    // The published form: a select field of the entries in the list's colours, `width` pixels
    // wide; `shownText`, when not null, becomes its value attribute.
    void WriteListForm(QStringList& lines, const QString& formLine, int width, int32_t fontColor,
                       const QString* shownText);
};
