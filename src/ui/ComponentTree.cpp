#include "ui/ComponentTree.h"

#include "core/model/Bauteil.h"

#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <QVariant>

namespace {

void AddNodes(const std::vector<TComponentTreeNode>& nodes, QTreeWidget& view,
              QTreeWidgetItem* parent)
{
    for (const TComponentTreeNode& node : nodes) {
        auto* widgetNode = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(&view);
        widgetNode->setText(0, node.Text);
        if (node.Item) {
            void* object = node.Element ? static_cast<void*>(node.Element)
                                        : static_cast<void*>(node.Item);
            widgetNode->setData(0, kComponentTreeObjectRole, QVariant::fromValue(object));
            widgetNode->setData(0, kComponentTreeIsElementRole, node.Element != nullptr);
            node.Item->TreeNode = widgetNode;
        }
        if (!node.Children.empty()) {
            AddNodes(node.Children, view, widgetNode);
            widgetNode->sortChildren(0, Qt::AscendingOrder);
        }
    }
}

} // namespace

void FillComponentTree(TPlatine& board, QTreeWidget& view, QTreeWidgetItem* parent,
                       const std::function<bool(TBauteil*)>& isOfClass,
                       const TComponentTreeElementInfo& elements)
{
    AddNodes(CollectComponentTree(board, isOfClass, elements), view, parent);
    if (parent)
        parent->sortChildren(0, Qt::AscendingOrder);
    else
        view.sortItems(0, Qt::AscendingOrder);
}
