#include "core/board/PlatineTree.h"

#include "core/board/BtPin.h"
#include "core/board/Makro.h"
#include "core/board/Platine.h"
#include "platform/Context.h"

std::vector<TComponentTreeNode> CollectComponentTree(TPlatine& board,
                                                     const std::function<bool(TBauteil*)>& isOfClass,
                                                     const TComponentTreeElementInfo& elements)
{
    std::vector<TComponentTreeNode> nodes;
    const bool running = Ctx().SimRunning;
    for (size_t i = board.Items.size(); i-- > 0;) {
        TBauteil* item = board.Items[i].get();
        if (auto* macro = dynamic_cast<TMakro*>(item)) {
            TComponentTreeNode node;
            node.Text = macro->MacroName() + QStringLiteral(" (") + macro->Designator() + u')';
            if (TPlatine* inner = macro->InnerBoard())
                node.Children = CollectComponentTree(*inner, isOfClass, elements);
            if (!node.Children.empty())
                nodes.push_back(std::move(node));
            continue;
        }
        if (!isOfClass(item))
            continue;
        auto* component = dynamic_cast<TIOBauteil*>(item);
        if (item->Editable && (!running || (component && component->RunTimeAdjustable))) {
            TComponentTreeNode node;
            node.Item = item;
            if (auto* pin = dynamic_cast<TBTPin*>(item))
                node.Text = QStringLiteral("Pin ") + pin->PinName() + QStringLiteral(" (")
                    + pin->Designator() + u')';
            else if (component)
                node.Text = component->Label + QStringLiteral(" (") + component->Designator() + u')';
            else
                node.Text = QString::fromLatin1(item->ClassName());
            nodes.push_back(std::move(node));
        }
        if (component && component->Link) {
            TFP_Element* element = component->Link;
            const bool settable = !running
                || (elements.RunTimeAdjustable && elements.RunTimeAdjustable(element));
            if (settable) {
                const QString place = elements.Place ? elements.Place(element) : QString();
                TComponentTreeNode node;
                node.Item = item;
                node.Element = element;
                node.Text = component->Label + QStringLiteral(" (") + component->Designator()
                    + QStringLiteral(") (") + place + u')';
                nodes.push_back(std::move(node));
            }
        }
    }
    return nodes;
}
