#pragma once
// An OPC DA server for the OPC client tests: items by id with texts the test sets, a group,
// and the writes it was given. Install it with SetOpcBackend.

#include "platform/OpcClient.h"

#include <map>
#include <vector>

class TFakeOpcServer : public IOpcServer {
public:
    std::map<QString, QString> Items;           // id -> the value as text
    std::map<QString, uint16_t> Types;          // id -> canonical type (kOpcTypeEmpty if absent)
    std::vector<std::pair<QString, QVariant>> Writes;
    QString Group;                              // the group's name, empty without one
    int32_t UpdateRate = 0;
    int Reads = 0;                              // item reads asked for
    bool RefuseGroup = false;

    bool AddGroup(const QString& name, bool, int32_t updateRateMs) override
    {
        if (RefuseGroup)
            return false;
        Group = name;
        UpdateRate = updateRateMs;
        m_handles.clear();
        return true;
    }
    void RemoveGroup() override
    {
        Group.clear();
        m_handles.clear();
    }
    std::optional<TOpcItem> AddItem(const QString& itemId) override
    {
        if (Group.isEmpty() || !Items.count(itemId))
            return std::nullopt;
        m_handles.push_back(itemId);
        const auto type = Types.find(itemId);
        return TOpcItem{uint32_t(m_handles.size()), type == Types.end() ? kOpcTypeEmpty : type->second};
    }
    std::optional<TOpcReading> ReadItem(uint32_t handle) override
    {
        ++Reads;
        const QString* id = IdOf(handle);
        if (!id)
            return std::nullopt;
        return TOpcReading{Items[*id], 192}; // quality "good"
    }
    bool WriteItem(uint32_t handle, const QVariant& value) override
    {
        const QString* id = IdOf(handle);
        if (!id)
            return false;
        Writes.emplace_back(*id, value);
        Items[*id] = value.toString();
        return true;
    }
    QStringList BrowseItemIds() override
    {
        QStringList ids;
        for (const auto& [id, text] : Items)
            ids << id;
        return ids;
    }

private:
    const QString* IdOf(uint32_t handle) const
    {
        return handle >= 1 && handle <= m_handles.size() ? &m_handles[handle - 1] : nullptr;
    }
    std::vector<QString> m_handles;
};
