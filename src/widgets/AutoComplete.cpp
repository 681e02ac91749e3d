#include "widgets/AutoComplete.h"

#include "widgets/Edit.h"

#include <QListWidget>

TWLXEditAutoComplete::TWLXEditAutoComplete(QObject* parent)
    : QObject(parent)
{
}

TWLXEditAutoComplete::~TWLXEditAutoComplete()
{
    CloseDropDown();
}

void TWLXEditAutoComplete::SetStringList(TWLXStringList* list)
{
    if (list == StringList())
        return;
    if (m_listLink.Sender)
        m_listLink.Sender->RemoveLink(&m_listLink);
    if (list)
        list->AddLink(&m_listLink);
}

void TWLXEditAutoComplete::SetStringListIndex(int value)
{
    if (!StringList())
        return;
    const int count = StringList()->Count();
    m_listIndex = std::max(0, std::min(value, count - 1));
}

QStringList TWLXEditAutoComplete::Entries() const
{
    const TWLXStringListItem* item = StringList() ? StringList()->Item(m_listIndex) : nullptr;
    return item ? item->Items : QStringList();
}

void TWLXEditAutoComplete::Complete(TWLXCustomEdit* edit, const QString& text)
{
    if (!Enabled || !edit)
        return;
    m_typed = text;
    QString completion = text;
    // An empty text completes to nothing, so that the edit can be emptied.
    if ((Mode & amText) && StringList() && !text.isEmpty()) {
        for (const QString& entry : Entries()) {
            if (StartsWith(entry, text)) {
                completion = entry;
                break;
            }
        }
    }
    if (Mode & amPopup) {
        if (text.isEmpty())
            CloseDropDown();
        else
            ShowDropDown(edit, text);
    }
    if (completion != text) {
        edit->SetText(completion);
        edit->SetCaretPos(int(text.size()) + 1);
        edit->SetSelStart(edit->CaretPos());
        edit->SetSelLength(int(completion.size() - text.size()));
    }
}

void TWLXEditAutoComplete::AddUnknown(TWLXCustomEdit* edit, const QString& text)
{
    if (!Enabled)
        return;
    if (StringList()) {
        for (const QString& entry : Entries())
            if (Fold(entry) == Fold(text))
                return;
    }
    QString addText = text;
    bool add = true;
    TWLXAutoCompleteSource addTo = TWLXAutoCompleteSource::asStringList;
    if (OnAdd)
        OnAdd(this, edit, addText, add, addTo);
    TWLXStringList* list = StringList();
    if (!add || addTo != TWLXAutoCompleteSource::asStringList || !list)
        return;
    if (list->IsEmpty())
        list->AddItem();
    TWLXStringListItem* item = list->Item(std::clamp(m_listIndex, 0, list->Count() - 1));
    item->Items.append(addText);
    item->Change();
}

void TWLXEditAutoComplete::ShowDropDown(TWLXCustomEdit* edit, const QString& typed)
{
    QStringList lines = Entries();
    lines.sort(Qt::CaseInsensitive);
    while (!lines.isEmpty() && !StartsWith(lines.front(), typed))
        lines.removeFirst();
    int count = 0;
    while (count < lines.size() && StartsWith(lines.at(count), typed))
        ++count;
    lines = lines.mid(0, count);
    if (lines.isEmpty())
        return;
    if (lines.size() == 1 && Fold(lines.front()) == Fold(edit->Text())) {
        CloseDropDown();
        return;
    }
    if (!m_dropDown) {
        m_dropDown = new QListWidget;
        m_dropDown->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
        m_dropDown->setAttribute(Qt::WA_ShowWithoutActivating);
        m_dropDown->setFocusPolicy(Qt::NoFocus);
        m_dropDown->setFrameShape(QFrame::Box);
        m_dropDown->setFont(edit->font());
    }
    m_served = edit;
    m_dropDown->clear();
    m_dropDown->addItems(lines);
    m_dropDown->setCurrentRow(-1);
    const int row = std::max(1, m_dropDown->sizeHintForRow(0));
    m_dropDown->setGeometry(QRect(edit->mapToGlobal(QPoint(0, edit->height())),
                                  QSize(edit->width(), row * std::min(int(lines.size()), kDropDownLines) + 5)));
    m_dropDown->show();
}

void TWLXEditAutoComplete::CloseDropDown()
{
    if (!m_dropDown)
        return;
    m_served = nullptr;
    delete m_dropDown;
    m_dropDown = nullptr;
}

void TWLXEditAutoComplete::TakeSelected(TWLXCustomEdit* edit, const QString& text)
{
    edit->SetText(text);
    edit->SetCaretPos(int(text.size()) + 1);
    edit->SelectAll();
}

bool TWLXEditAutoComplete::EditKeyUp(TWLXCustomEdit* edit, int key)
{
    if (!m_dropDown || m_served != edit || (key != Qt::Key_Up && key != Qt::Key_Down))
        return false;
    const int row = m_dropDown->currentRow();
    if (key == Qt::Key_Up && row > 0)
        m_dropDown->setCurrentRow(row - 1);
    else if (key == Qt::Key_Down && row < m_dropDown->count() - 1)
        m_dropDown->setCurrentRow(row + 1);
    if (m_dropDown->currentRow() >= 0)
        TakeSelected(edit, m_dropDown->currentItem()->text());
    return true;
}

bool TWLXEditAutoComplete::EditKeyPress(TWLXCustomEdit* edit, int key)
{
    if (!m_dropDown || m_served != edit)
        return false;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (m_dropDown->currentRow() >= 0)
            TakeSelected(edit, m_dropDown->currentItem()->text());
        CloseDropDown();
        return true;
    }
    if (key == Qt::Key_Escape) {
        EditFocusLost(edit);
        return true;
    }
    return false;
}

void TWLXEditAutoComplete::EditFocusLost(TWLXCustomEdit* edit)
{
    if (!m_dropDown || m_served != edit)
        return;
    TakeSelected(edit, m_typed);
    CloseDropDown();
}
