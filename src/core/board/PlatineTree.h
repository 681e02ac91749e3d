#pragma once
// Fills the configuration tree with the settable components of a board and its macros.

#include <QString>
#include <functional>

class QTreeWidget;
class QTreeWidgetItem;
class TBauteil;
class TFP_Element;
class TPlatine;

// What the tree needs to know of front-panel elements (the front panel answers).
struct TComponentTreeElementInfo {
    // "page caption->element name" of a linked element.
    std::function<QString(TFP_Element*)> Place;
    // Whether the element may be set while a run is active.
    std::function<bool(TFP_Element*)> RunTimeAdjustable;
};

// The data role under which a node keeps its object (the item, or the linked element).
constexpr int kComponentTreeObjectRole = 0x0100 + 1; // Qt::UserRole + 1
// Whether a node's object is a front-panel element (true) or a board item (false).
constexpr int kComponentTreeIsElementRole = 0x0100 + 2;

// Walks the board's items from the last to the first: macro blocks become nodes with their
// inner boards below them (dropped again when they stay empty), every editable item that
// isOfClass accepts and that may be set now becomes a node, and so does every linked
// element; then the children are sorted alphabetically. parent nullptr means the top level.
void FillComponentTree(TPlatine& board, QTreeWidget& view, QTreeWidgetItem* parent,
                       const std::function<bool(TBauteil*)>& isOfClass,
                       const TComponentTreeElementInfo& elements = {});
