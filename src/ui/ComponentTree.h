#pragma once
// Fills the configuration tree view with the settable components of a board and its macros.

#include "core/board/PlatineTree.h"

class QTreeWidget;
class QTreeWidgetItem;

// The data role under which a node keeps its object (the item, or the linked element).
constexpr int kComponentTreeObjectRole = 0x0100 + 1; // Qt::UserRole + 1
// Whether a node's object is a front-panel element (true) or a board item (false).
constexpr int kComponentTreeIsElementRole = 0x0100 + 2;

// The nodes of CollectComponentTree below parent (nullptr: the top level), each level sorted
// alphabetically; every shown item keeps its node in TreeNode.
void FillComponentTree(TPlatine& board, QTreeWidget& view, QTreeWidgetItem* parent,
                       const std::function<bool(TBauteil*)>& isOfClass,
                       const TComponentTreeElementInfo& elements = {});
