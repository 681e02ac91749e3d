#pragma once
// The editor of the 256 byte sequences of the COM send-sequence device: a grid with one row per
// sequence number ($00 .. $FF) and a hexadecimal preview of the row being edited. One form,
// made on first use and reused.

#include "ui/ByteSequenceDlg.h"

class QTableWidget;

class TByte_Dlg : public TByteSequenceDlg {
    Q_OBJECT
public:
    explicit TByte_Dlg(QWidget* parent = nullptr);

    QTableWidget* Grid;

    // Column 1 of the grid: the header (entry 0) and the 256 sequences.
    void SetSequences(const QStringList& entries);
    QStringList Sequences() const;
    // Refreshes the preview from the current row.
    void setMonitor();
    void FormShow() override { setMonitor(); }

private:
    // The preview of one sequence text (also of the text being typed into a cell).
    void Preview(const QString& sequence);
};

TByte_Dlg& Byte_Dlg();
