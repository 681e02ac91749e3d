#pragma once
// OPC DA 2.0 client devices: the read client reads a list of a server's items into its outputs
// ("$R0" ... carry text and value), the write client writes its inputs to a list of items
// ("W0" ..., "$W0" ... for items of text type) while "EN" is high. One group per device, made at
// run start, read or written at most once per update period. A server that cannot be reached,
// refuses the group or does not know items is told once per run; the device then stays idle
// (or leaves the unknown items out) and the circuit runs on. The settings are edited in the
// OPC client dialog.

#include "hardware/transport/DriverDevice.h"
#include "platform/OpcClient.h"

#include <memory>
#include <optional>
#include <vector>

// One configured item.
struct TItemData {
    explicit TItemData(QString id = {}) : ItemId(std::move(id)) {}
    QString ItemId;
    std::optional<TOpcItem> Handle; // while the group holds it
    QString LastText;               // read client: the last text read
    uint16_t Quality = 0;
    std::optional<QString> SentText; // write client: what was written last in this run
    std::optional<Extended> SentValue;
};

class TOPC_DA2_Client_Port : public TIOPort {
public:
    TV_CLASS_NAME(TOPC_DA2_Client_Port)
    TOPC_DA2_Client_Port();
    // count item pins ("$R" i or "W" i), for the write client then "EN".
    void Configure(int32_t count, bool read);
};

class TOPC_DA2_Client : public TDriverDevice {
public:
    TV_CLASS_NAME(TOPC_DA2_Client)
    ~TOPC_DA2_Client() override;

    static constexpr const char* kGroupName = "VoziZore";

    QString Host;   // empty: this computer
    QString ProgId; // the server
    int32_t UpdateRate = 500;
    std::vector<TItemData> Items;

    virtual bool IsReader() const = 0;
    TOPC_DA2_Client_Port& Port() const;
    bool Connected() const { return m_server != nullptr; }

    QDialog* CreateDialog() override;
    void getKonfigData() override;
    void ApplySettings() override;
    void SimStart() override;
    void SimStop() override;
    void MachEsJetzt() override;
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;

protected:
    TOPC_DA2_Client();
    // Connects, makes the group and adds the items; false when that fails. tell: what fails
    // (also unknown items) is told once per run.
    bool Connect(bool tell);
    void Disconnect();
    // The item pins named by the items' types and described by their ids.
    void NamePins();
    virtual void Transfer() = 0;

    std::unique_ptr<IOpcServer> m_server;

private:
    uint32_t m_lastTransfer = 0;
};

class TOPC_DA2_ReadClient : public TOPC_DA2_Client {
public:
    TV_CLASS_NAME(TOPC_DA2_ReadClient)
    static const TDeviceDescription Description;
    TOPC_DA2_ReadClient();
    bool IsReader() const override { return true; }

protected:
    void Transfer() override;
};

class TOPC_DA2_WriteClient : public TOPC_DA2_Client {
public:
    TV_CLASS_NAME(TOPC_DA2_WriteClient)
    static const TDeviceDescription Description;
    TOPC_DA2_WriteClient();
    bool IsReader() const override { return false; }
    void SimStart() override;

protected:
    void Transfer() override;

private:
    bool m_enabled = false;
};
