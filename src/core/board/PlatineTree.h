#pragma once
// The configuration tree's content: the settable components of a board and its macros as plain
// nodes; the user interface turns them into a tree view (ui/ComponentTree.h).

#include <QString>
#include <functional>
#include <vector>

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

struct TComponentTreeNode {
    QString Text;
    // The board item the node shows (for an element node, the element's component); nullptr
    // for the node of a macro, which only groups its inner board.
    TBauteil* Item = nullptr;
    // The linked front-panel element of an element node, else nullptr.
    TFP_Element* Element = nullptr;
    std::vector<TComponentTreeNode> Children;
};

// Walks the board's items from the last to the first: macro blocks become nodes with their
// inner boards below them (left out when they stay empty), every editable item that isOfClass
// accepts and that may be set now becomes a node, and so does every linked element. The
// nodes come in walking order; sorting is the view's.
std::vector<TComponentTreeNode> CollectComponentTree(TPlatine& board,
                                                     const std::function<bool(TBauteil*)>& isOfClass,
                                                     const TComponentTreeElementInfo& elements = {});
