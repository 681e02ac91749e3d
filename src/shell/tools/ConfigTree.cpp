#include "shell/tools/ConfigTree.h"

#include "core/board/Makro.h"
#include "core/board/Platine.h"
#include "frontpanel/Design.h"
#include "frontpanel/FP_Element.h"
#include "platform/Context.h"
#include "platform/Help.h"
#include "ui/ComponentTree.h"
#include "ui/WidgetHelpers.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kHelpContext = 17550;

// Run-time adjustable entries stand out while editing; during a run all look alike.
void MarkAdjustable(QTreeWidgetItem& node)
{
    const bool element = node.data(0, kComponentTreeIsElementRole).toBool();
    void* object = node.data(0, kComponentTreeObjectRole).value<void*>();
    bool adjustable = false;
    if (object && element)
        adjustable = static_cast<TFP_Element*>(object)->LaufzeitEinstellbar;
    else if (auto* component = dynamic_cast<TIOBauteil*>(static_cast<TBauteil*>(object)))
        adjustable = component->RunTimeAdjustable;
    if (adjustable && !Ctx().SimRunning) {
        QFont font = node.font(0);
        font.setBold(true);
        node.setFont(0, font);
        node.setForeground(0, QColor(0x00, 0x80, 0x00));
    }
    for (int i = 0; i < node.childCount(); ++i)
        MarkAdjustable(*node.child(i));
}

} // namespace

TObjektliste::TObjektliste(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Objektliste"));
    resize(380, 460);
    auto* layout = new QVBoxLayout(this);
    VTree = Named(new QTreeWidget(this), "VTree");
    VTree->setHeaderHidden(true);
    VTree->setIndentation(19);
    VTree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(VTree, 1);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    CloseBtn = Named(new QPushButton(this), "CloseBtn");
    row->addWidget(CloseBtn);
    layout->addLayout(row);
    connect(CloseBtn, &QPushButton::clicked, this, &QDialog::close);
    connect(VTree, &QTreeWidget::itemDoubleClicked, this, [this] { VTreeDblClick(); });
    FormCreate();
}

void TObjektliste::FormCreate()
{
    setWindowTitle(Lang3Q("Konfiguration", "Configuration", "Configuration"));
    CloseBtn->setText(Lang3Q("&Schliessen", "&Close", "&Fermer"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, !Ctx().RuntimeMode);
}

void TObjektliste::Fill(TPlatine* board)
{
    Board = board;
    VTree->clear();
    if (!board)
        return;
    TComponentTreeElementInfo elements;
    elements.Place = [](TFP_Element* element) {
        return (element->OwnerDesign ? element->OwnerDesign->GetPageCaption() : QString()) +
               QStringLiteral("->") + element->ElementName;
    };
    elements.RunTimeAdjustable = [](TFP_Element* element) { return element->LaufzeitEinstellbar; };
    FillComponentTree(*board, *VTree, nullptr, [](TBauteil*) { return true; }, elements);
    for (int i = 0; i < VTree->topLevelItemCount(); ++i)
        MarkAdjustable(*VTree->topLevelItem(i));
    VTree->expandAll();
}

void TObjektliste::VTreeDblClick()
{
    QTreeWidgetItem* node = VTree->currentItem();
    if (!node)
        return;
    void* object = node->data(0, kComponentTreeObjectRole).value<void*>();
    if (!object)
        return;
    if (node->data(0, kComponentTreeIsElementRole).toBool()) {
        static_cast<TFP_Element*>(object)->EditProperties();
        return;
    }
    auto* item = static_cast<TBauteil*>(object);
    if (!dynamic_cast<TMakro*>(item))
        item->EditProperties();
}

bool TObjektliste::event(QEvent* event)
{
    if (IsHelpRequest(event)) {
        OpenHelpTopic(kHelpContext);
        return true;
    }
    return QDialog::event(event);
}
