#pragma once
// OPC Data Access 2.0 servers as the OPC client devices and their dialog use them: one group
// per connection, items added by id, synchronous reads from the server's cache and writes.
// OPC DA travels over COM/DCOM, which this system does not have: no server is reachable unless
// a backend (or a test's fake) is installed, and connecting says why in the current language.

#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

inline constexpr uint16_t kOpcTypeEmpty = 0;  // VT_EMPTY: the server's own type
inline constexpr uint16_t kOpcTypeString = 8; // VT_BSTR

struct TOpcItem {
    uint32_t ServerHandle = 0;
    uint16_t CanonicalType = kOpcTypeEmpty;
};

struct TOpcReading {
    QString Text;         // the value as text
    uint16_t Quality = 0; // the server's quality code
};

// One connection to a server, holding at most one group.
class IOpcServer {
public:
    virtual ~IOpcServer() = default;
    // Creates the group (replacing one held); false when the server refuses.
    virtual bool AddGroup(const QString& name, bool active, int32_t updateRateMs) = 0;
    virtual void RemoveGroup() = 0;
    // Adds an item to the group; nothing when the server does not know it.
    virtual std::optional<TOpcItem> AddItem(const QString& itemId) = 0;
    // Reads an item from the server's cache; nothing when the read fails.
    virtual std::optional<TOpcReading> ReadItem(uint32_t serverHandle) = 0;
    // Writes a value (a number or a text); false when the server refuses.
    virtual bool WriteItem(uint32_t serverHandle, const QVariant& value) = 0;
    // The item ids of the server's address space, for the dialog.
    virtual QStringList BrowseItemIds() = 0;
};

// A server registered on a host: its ProgID, its class id (empty when the ProgID has none),
// its description and vendor (empty when not registered).
struct TOpcServerInfo {
    QString ProgId;
    QString Clsid;
    QString Description;
    QString Vendor;
};

struct TOpcBackend {
    // A connection to the server of a ProgID on a host (empty: this computer); nullptr with
    // *error set when there is none.
    std::function<std::unique_ptr<IOpcServer>(const QString& host, const QString& progId,
                                              QString* error)>
        Connect;
    // The OPC servers registered on a host, as its registry lists them (several ProgIDs may
    // name one class); nothing when the host's registry cannot be reached.
    std::function<std::vector<TOpcServerInfo>(const QString& host)> ListServers;
};

// Installs a backend; an empty one leaves OPC unreachable.
void SetOpcBackend(TOpcBackend backend);
std::unique_ptr<IOpcServer> ConnectOpcServer(const QString& host, const QString& progId,
                                             QString* error);
std::vector<TOpcServerInfo> ListOpcServers(const QString& host);
// Why no OPC server can be reached here, in the current language.
QString OpcUnavailableText();
