#include "core/board/PlatineTree.h"

#include "core/board/BtPin.h"
#include "core/board/Makro.h"
#include "core/board/Platine.h"
#include "platform/Context.h"

#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <QVariant>

namespace {

QTreeWidgetItem* NewNode(QTreeWidget& view, QTreeWidgetItem* parent, const QString& text)
{
    auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(&view);
    node->setText(0, text);
    return node;
}

} // namespace

void FillComponentTree(TPlatine& board, QTreeWidget& view, QTreeWidgetItem* parent,
                       const std::function<bool(TBauteil*)>& isOfClass,
                       const TComponentTreeElementInfo& elements)
{
    const bool running = Ctx().SimRunning;
    for (size_t i = board.Items.size(); i-- > 0;) {
        TBauteil* item = board.Items[i].get();
        if (auto* macro = dynamic_cast<TMakro*>(item)) {
            QTreeWidgetItem* node = NewNode(view, parent,
                macro->MacroName() + QStringLiteral(" (") + macro->Designator() + u')');
            if (TPlatine* inner = macro->InnerBoard())
                FillComponentTree(*inner, view, node, isOfClass, elements);
            if (node->childCount() == 0)
                delete node;
            continue;
        }
        if (!isOfClass(item))
            continue;
        auto* component = dynamic_cast<TIOBauteil*>(item);
        if (item->Editable && (!running || (component && component->RunTimeAdjustable))) {
            QString text;
            if (auto* pin = dynamic_cast<TBTPin*>(item))
                text = QStringLiteral("Pin ") + pin->PinName() + QStringLiteral(" (")
                    + pin->Designator() + u')';
            else if (component)
                text = component->Label + QStringLiteral(" (") + component->Designator() + u')';
            else
                text = QString::fromLatin1(item->ClassName());
            QTreeWidgetItem* node = NewNode(view, parent, text);
            node->setData(0, kComponentTreeObjectRole,
                          QVariant::fromValue(static_cast<void*>(item)));
            node->setData(0, kComponentTreeIsElementRole, false);
            item->TreeNode = node;
        }
        if (component && component->Link) {
            TFP_Element* element = component->Link;
            const bool settable = !running
                || (elements.RunTimeAdjustable && elements.RunTimeAdjustable(element));
            if (settable) {
                const QString place = elements.Place ? elements.Place(element) : QString();
                QTreeWidgetItem* node = NewNode(view, parent,
                    component->Label + QStringLiteral(" (") + component->Designator()
                        + QStringLiteral(") (") + place + u')');
                node->setData(0, kComponentTreeObjectRole,
                              QVariant::fromValue(static_cast<void*>(element)));
                node->setData(0, kComponentTreeIsElementRole, true);
                item->TreeNode = node;
            }
        }
    }
    if (parent)
        parent->sortChildren(0, Qt::AscendingOrder);
    else
        view.sortItems(0, Qt::AscendingOrder);
}
