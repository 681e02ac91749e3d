#pragma once
// Correction table: maps "E" through a table of input/output points by piecewise-linear
// interpolation (and extrapolation beyond both ends) onto "A". The table editor can import
// the points from text lines "input;output".
//
// A usable table holds at least two points with distinct inputs: the list refuses a second
// point with an input it already holds, a stored table that does not give two such points
// becomes the default table, and the editor never goes below two points.

#include "core/model/GrundBT.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <vector>

class QCheckBox;
class QFileDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// One point of the table.
struct TKorrekturwert {
    Extended Input = 0.0L;
    Extended Output = 0.0L;
};

// The points, sorted ascending by input.
class TKorrekturwerte {
public:
    TKorrekturwerte();  // (0, 0) and (1, 1): the input passes unchanged

    int Count() const { return static_cast<int>(m_points.size()); }
    const TKorrekturwert& Point(int index) const { return m_points[static_cast<size_t>(index)]; }
    bool HasInput(Extended input) const;

    // Adds a point at its sorted place. Refused (false) when the input is not a finite number
    // or another point already has it.
    bool AddPoint(Extended input, Extended output);
    // Replaces a point in place, without re-sorting. Refused (false) for an index outside
    // the list, an input that is not a finite number or one that another point has.
    bool SetPoint(int index, Extended input, Extended output);
    // Removes a point; refused (false) for an index outside the list and while the list
    // holds two points or fewer.
    bool DeletePoint(int index);
    // Back to (0, 0) and (1, 1).
    void Reset();
    // Ascending by input; points of equal input keep their order.
    void Sort();
    // The first index whose input is >= x; the last index when there is none (-1 when the
    // list is empty).
    int FindIndex(Extended x) const;
    // The other list's points, added one by one (so the result is sorted).
    void Assign(const TKorrekturwerte& other);
    // The output for x: linear through the neighbouring pair inside the table, through the
    // first or last pair outside it.
    Extended Interpolate(Extended x) const;

    // Replaces the points by those of text lines "input;output" (a line without ";" is an
    // output of input 0). Equal inputs keep the first line's point; fewer than two points are
    // completed to two as the default table would (an empty import is the default table).
    void ImportLines(const QStringList& lines);

    // Point count, then each point's input and output.
    void WriteData(TWriter& writer) const;
    // Reads the stored points; duplicates of an input are dropped (the first stays), and a
    // table left with fewer than two points becomes the default table. A count that the
    // rest of the stream cannot hold is refused as invalid data.
    void ReadData(TReader& reader);

private:
    void Clear() { m_points.clear(); }
    // Completes a list of fewer than two points: (0, 0) into an empty list, then a second
    // point (1, 1), or (0, 0) when the one point has input 1.
    void Complete();

    std::vector<TKorrekturwert> m_points;
};

class TBTKorrekturtabelle : public TGrundBT {
public:
    TV_CLASS_NAME(TBTKorrekturtabelle)
    TBTKorrekturtabelle();
    static const TComponentDescription Description;

    TKorrekturwerte Werte;

    void Paint(TCanvas& canvas) override;
    // The table editor; on OK the edited points and the run-time option are taken.
    int EditProperties() override;
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    void Calculate() override;
    void SimReset() override;  // output 0
};

// The table editor: a grid of the points, edits for one point, buttons to change, add and
// delete points, and the import of a text file.
class TKorrekturtabelleDlg : public QDialog {
public:
    static constexpr int HelpContext = 18410;

    explicit TKorrekturtabelleDlg(QWidget* parent = nullptr);
    ~TKorrekturtabelleDlg() override;

    TKorrekturwerte Werte;  // the working list

    QTableWidget* Grid;
    QGroupBox* GroupBox1;
    QLabel* Label1;
    QLineEdit* E_Edit;
    QLabel* Label2;
    QLineEdit* A_Edit;
    QPushButton* ChangeBtn;
    QPushButton* AddBtn;
    QPushButton* DeleteBtn;
    QPushButton* DeleteAllBtn;
    QPushButton* ImportBtn;
    QLabel* Label3;
    QCheckBox* cb_RuntimeEdit;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QFileDialog* ImportDlg;

    void TranslateCaptions();

    // The selected grid row counted as the original grid does: row 1 is point 0 (row 0 is
    // the heading); 0 when nothing is selected.
    int SelectedRow() const;

    // Fills the grid from the list, selects the row of E_Edit's value (copying it into the
    // edits) and updates the buttons. Runs when the dialog is shown and after every change.
    void FormShow();
    void RefreshGrid();
    // Copies the selected row's point into the edits.
    void GridClick();
    void E_EditChange();
    void A_EditChange();
    void UpdateButtons();

    void ChangeBtnClick();
    void AddBtnClick();
    void DeleteBtnClick();
    void DeleteAllBtnClick();
    void ImportBtnClick();
    // Replaces the list by the points of a text file; a file that cannot be opened leaves
    // the list as it is and says so. Returns true when the file was read.
    bool ImportFile(const QString& fileName);

protected:
    bool event(QEvent* e) override;

private:
    // Selects a grid row; a selection made while typing into E_Edit does not copy the row.
    void SelectRow(int row, bool fromEdit);
    // The message shown when an edit would give two points the same input.
    void SayDuplicateInput();

    bool m_selecting = false;
};
