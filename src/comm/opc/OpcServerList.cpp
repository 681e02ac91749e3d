#include "comm/opc/OpcServerList.h"

#include <algorithm>

TOPCServerList::TOPCServerList(const QString& host, bool scan) : Host(host), m_scan(scan) {}

void TOPCServerList::Update()
{
    Clear();
    if (!m_scan)
        return;
    for (const TOpcServerInfo& info : ListOpcServers(Host))
        if (!info.Clsid.isEmpty())
            AddServer(info);
}

void TOPCServerList::Clear()
{
    m_servers.clear();
}

bool TOPCServerList::AddServer(const TOpcServerInfo& info)
{
    const auto sameClass = [&](const TOpcServerInfo& s) {
        return s.Clsid.compare(info.Clsid, Qt::CaseInsensitive) == 0;
    };
    if (std::any_of(m_servers.begin(), m_servers.end(), sameClass))
        return false;
    const auto at = std::lower_bound(
        m_servers.begin(), m_servers.end(), info, [](const TOpcServerInfo& a, const TOpcServerInfo& b) {
            return a.ProgId.compare(b.ProgId, Qt::CaseInsensitive) < 0;
        });
    if (at != m_servers.end() && at->ProgId.compare(info.ProgId, Qt::CaseInsensitive) == 0)
        return false;
    m_servers.insert(at, info);
    return true;
}

QStringList TOPCServerList::Items() const
{
    QStringList ids;
    for (const TOpcServerInfo& s : m_servers)
        ids << s.ProgId;
    return ids;
}

QString TOPCServerList::GetCLSID(int index) const
{
    return index >= 0 && index < Count() ? m_servers[size_t(index)].Clsid : QString();
}
