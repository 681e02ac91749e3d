#include "widgets/WLXObject.h"

void TWLXObject::Change()
{
    if (!m_locked && OnChange)
        OnChange(this);
}

void TWLXObject::GetChange(void* sender)
{
    Change();
}

void TWLXObject::EndUpdate(bool notify)
{
    m_locked = false;
    if (notify)
        Change();
}

void TWLXCustomComponent::Change()
{
    if (!m_inUpdate && OnChange)
        OnChange(this);
}

void TWLXCustomComponent::EndUpdate(bool notify)
{
    m_inUpdate = false;
    if (notify)
        Change();
}

TWLXChangeLink::~TWLXChangeLink()
{
    if (Sender)
        Sender->RemoveLink(this);
}

void TWLXChangeLink::Change()
{
    if (OnChange)
        OnChange(Sender);
}

TWLXBaseController::~TWLXBaseController()
{
    while (!m_links.empty()) {
        TWLXChangeLink* link = m_links.back();
        RemoveLink(link);
        if (link->OnFree)
            link->OnFree();
    }
}

void TWLXBaseController::AddLink(TWLXChangeLink* link)
{
    if (!link)
        return;
    link->Sender = this;
    m_links.push_back(link);
}

void TWLXBaseController::RemoveLink(TWLXChangeLink* link)
{
    for (auto it = m_links.begin(); it != m_links.end(); ++it) {
        if (*it == link) {
            link->Sender = nullptr;
            m_links.erase(it);
            return;
        }
    }
}

void TWLXBaseController::Change()
{
    if (InUpdate() || Loading)
        return;
    TWLXCustomComponent::Change();
    // A client may unregister while being told: walk a copy.
    const std::vector<TWLXChangeLink*> links = m_links;
    for (TWLXChangeLink* link : links)
        link->Change();
}
