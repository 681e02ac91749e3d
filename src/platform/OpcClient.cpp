#include "platform/OpcClient.h"

#include "platform/Context.h"

namespace {

TOpcBackend& Backend()
{
    static TOpcBackend backend;
    return backend;
}

} // namespace

void SetOpcBackend(TOpcBackend backend)
{
    Backend() = std::move(backend);
}

QString OpcUnavailableText()
{
    return Lang3Q("OPC-DA-Server sind nur über Windows-COM/DCOM erreichbar, das es auf diesem "
                  "System nicht gibt. Das Gerät bleibt in diesem Lauf untätig.",
                  "OPC DA servers are reached only through Windows COM/DCOM, which this system "
                  "does not have. The device stays idle in this run.",
                  "Les serveurs OPC DA ne sont accessibles que par COM/DCOM de Windows, absent "
                  "de ce système. L'appareil reste inactif pendant cette exécution.");
}

std::unique_ptr<IOpcServer> ConnectOpcServer(const QString& host, const QString& progId,
                                             QString* error)
{
    if (Backend().Connect)
        return Backend().Connect(host, progId, error);
    if (error)
        *error = OpcUnavailableText();
    return nullptr;
}

std::vector<TOpcServerInfo> ListOpcServers(const QString& host)
{
    return Backend().ListServers ? Backend().ListServers(host) : std::vector<TOpcServerInfo>();
}
