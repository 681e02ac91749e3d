#pragma once
// The generic settings dialog: a property sheet sized to its rows, OK and cancel, context help
// when the caller gave a help context, and an optional button for the pin-and-port dialog.
// One shared instance (Default_Dlg) serves the settings of every component, element and
// device in turn; a few device dialogs create private instances.
//
// Use: set the caption (setWindowTitle) and HelpContext, optionally show PinBtn, add rows to
// PropScrollbox bound to your variables, call Execute. On OK every row writes its value back;
// the rows are freed before Execute returns, so the next caller starts with an empty sheet.

#include <QDialog>
#include <QList>
#include <QPixmap>
#include <QString>

#include <functional>

class QFrame;
class QPushButton;
class QToolButton;
class TPropScrollbox;

// The pin-and-port dialog belongs to the hardware framework, which registers here how the pin
// button shows it and how its pin editor's two event hooks are cleared when a settings dialog
// is destroyed.
struct TPinPortDialogHooks {
    std::function<void(const QString& caption)> Show;
    std::function<void()> ClearPinEditorHooks;
};
void SetPinPortDialogHooks(TPinPortDialogHooks hooks);
const TPinPortDialogHooks& PinPortDialogHooks();

class TIOBauteil;

// The settings of components whose only setting is their number of inputs (2 to 16): one row
// "Eingänge" in the shared dialog. The count changes only on OK. Returns the modal result.
int EditInputCount(TIOBauteil& component);

class TDefault_Dlg : public QDialog {
public:
    static constexpr int kPanelHeight = 47;
    static constexpr int kDesignWidth = 198;
    static constexpr int kDesignMaxHeight = 400;
    static constexpr int kScrollBarRoom = 18;
    static constexpr int kTitleButtonsRoom = 110;  // the title bar's icon and buttons

    explicit TDefault_Dlg(QWidget* parent = nullptr);
    ~TDefault_Dlg() override;

    int HelpContext = 0; // 0: no help

    TPropScrollbox* PropScrollbox = nullptr;
    QFrame* Panel1 = nullptr;
    QToolButton* PinBtn = nullptr; // hidden unless the caller shows it
    QPushButton* OKBtn = nullptr;
    QPushButton* Button1 = nullptr; // cancel
    // Eight pictures of meter movements, the images of the pointer instrument's type row.
    QList<QPixmap> MeterBitmaps;

    // Shows the dialog modally with the rows added so far and returns the modal result
    // (mrOk, mrCancel). On OK the rows write back; then the rows are freed and PinBtn hidden.
    int Execute();

    // The options rows that end the dialogs of components adjustable at run time: a band
    // "Optionen", a text row "Name" and a check row "Zur Laufzeit einstellbar". Added only
    // while no run is active and the program is not a compiled project.
    void AddOptionRows(QString& label, bool& runTimeAdjustable);
    // AddOptionRows bound to the component's label and run-time flag, Execute, then the
    // edited label (through SetLabel) and flag written back. Returns Execute's result.
    int ExecuteWithOptions(TIOBauteil& component);

    void TranslateCaptions();
    // Sizes the dialog to its rows: the client as wide as the first row, as high as the
    // visible rows and the button panel (within the size limits), 18 wider when the rows need
    // the scroll bar.
    void FitToRows();
    // Runs when a band folded or unfolded its group.
    void RowsChanged();

    // The steps of one use, in the order Execute runs them.
    void FormShow();
    void FormActivate();
    void OKBtnClick();
    void FormClose();

    void FocusFirstRow();
    void PinBtnClick();

protected:
    bool event(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void LayoutChildren();
    void BuildMeterBitmaps();
};

// The shared instance, created on first use.
TDefault_Dlg& Default_Dlg();
