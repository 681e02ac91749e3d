#pragma once
// The OPC servers registered on a computer, for the OPC client dialog: sorted by ProgID, each
// class listed once (the first of several ProgIDs of one class stays), ProgIDs without a class
// left out.

#include "platform/OpcClient.h"

#include <QString>
#include <QStringList>

#include <vector>

class TOPCServerList {
public:
    // host: a computer's name or address, empty for this one; scan: whether Update asks the
    // host's registry.
    TOPCServerList(const QString& host, bool scan);

    const QString Host;

    // Empties the list and, when asked to, fills it from the host's registry.
    void Update();
    void Clear();
    // Adds a server unless one of its class (or its ProgID) is listed; false when not added.
    bool AddServer(const TOpcServerInfo& info);

    int Count() const { return int(m_servers.size()); }
    // The ProgIDs, sorted.
    QStringList Items() const;
    QString GetCLSID(int index) const;
    const TOpcServerInfo& Server(int index) const { return m_servers[size_t(index)]; }

private:
    bool m_scan;
    std::vector<TOpcServerInfo> m_servers; // sorted by ProgID
};
