#pragma once
// The configuration window: a tree of the components and front-panel elements of a board whose
// settings may be opened from it (macros as nodes holding their inner items). During a run only
// what may be adjusted at run time is listed. A double click opens the item's settings.

#include <QDialog>

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class TPlatine;

class TObjektliste : public QDialog {
public:
    explicit TObjektliste(QWidget* parent = nullptr);

    QTreeWidget* VTree;
    QPushButton* CloseBtn;
    TPlatine* Board = nullptr;

    void FormCreate();
    // Lists the board's items, every node's children sorted alphabetically.
    void Fill(TPlatine* board);
    // Settings of the object of the selected node.
    void VTreeDblClick();

protected:
    bool event(QEvent* event) override;
};
