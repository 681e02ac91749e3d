#include "widgets/ImageLink.h"

#include "platform/Filer.h"
#include "widgets/ComponentStream.h"
#include "widgets/GlobalContainer.h"

TWLXImageLink::TWLXImageLink(std::function<void()> changed) : m_changed(std::move(changed))
{
    m_link.OnChange = [this](void*) { m_changed(); };
    m_link.OnFree = [this] { m_changed(); };
}

TWLXImageLink::~TWLXImageLink()
{
    m_link.OnChange = nullptr;
    m_link.OnFree = nullptr;
}

TWLXCustomImageList* TWLXImageLink::List() const
{
    return static_cast<TWLXCustomImageList*>(m_link.Sender);
}

void TWLXImageLink::SetList(TWLXCustomImageList* list)
{
    if (m_link.Sender)
        m_link.Sender->RemoveLink(&m_link);
    if (list)
        list->AddLink(&m_link);
    m_changed();
}

void TWLXImageLink::SetIndex(int index, int value)
{
    int& field = index == 0 ? m_imageIndex : m_listIndex;
    if (value < 0 || value == field)
        return;
    field = value;
    if (List())
        m_changed();
}

bool TWLXImageLink::HasImage() const
{
    return List() && List()->IsValidIndex(m_listIndex, m_imageIndex);
}

void TWLXImageLink::Write(TWLXComponentWriter& writer) const
{
    const TWLXCustomImageList* list = List();
    if (list && !IsGlobalList(list) && !list->Name.isEmpty())
        writer.WriteIdent(QStringLiteral("ImageList"), list->Name);
    if (m_imageIndex != 0)
        writer.WriteInteger(QStringLiteral("ImageIndex"), m_imageIndex);
    if (m_listIndex != 0)
        writer.WriteInteger(QStringLiteral("ListIndex"), m_listIndex);
    if (IsGlobalList(list))
        writer.WriteString(QStringLiteral("Internal"), GlobalListName(list));
}

bool TWLXImageLink::Read(const QString& name, TWLXComponentReader& reader,
                         const TWLXImageListResolver& resolve)
{
    if (name == QLatin1String("ImageList")) {
        const QString listName = reader.ReadIdent();
        SetList(resolve ? resolve(listName) : nullptr);
    } else if (name == QLatin1String("ImageIndex") || name == QLatin1String("ListIndex")) {
        SetIndex(name == QLatin1String("ImageIndex") ? 0 : 1, reader.ReadInteger());
    } else if (name == QLatin1String("Internal")) {
        SetList(GlobalListByName(reader.ReadString()));
    } else {
        return false;
    }
    return true;
}
