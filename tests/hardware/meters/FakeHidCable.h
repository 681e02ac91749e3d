#pragma once
// A USB-HID meter cable for the meter tests: input reports queued by the test (report ID
// first), the feature and output reports the program sent, and a pull of the plug. The HID
// system around it lists and opens the cables it holds.

#include "platform/HidAccess.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <vector>

class TFakeHidCable : public IHidDevice {
public:
    using TReport = std::vector<uint8_t>;
    std::deque<TReport> Input;
    std::vector<TReport> Features;
    std::vector<TReport> Writes;
    bool Unplugged = false;
    int Flushes = 0;

    int32_t Write(const uint8_t* data, int32_t size) override
    {
        if (Unplugged)
            return -1;
        Writes.emplace_back(data, data + size);
        return size;
    }
    int32_t Read(uint8_t* data, int32_t size, int32_t) override
    {
        if (Unplugged)
            return -1;
        if (Input.empty())
            return 0;
        const TReport report = Input.front();
        Input.pop_front();
        const auto n = std::min<size_t>(report.size(), size_t(size));
        std::memcpy(data, report.data(), n);
        return int32_t(n);
    }
    int32_t SetFeature(const uint8_t* data, int32_t size) override
    {
        if (Unplugged)
            return -1;
        Features.emplace_back(data, data + size);
        return size;
    }
    void FlushQueue() override
    {
        ++Flushes;
        Input.clear();
    }
};

// Hands out shared cables under their paths; the program's handle and the test's view are the
// same object.
class TFakeHidCables : public IHidSystem {
public:
    struct TEntry {
        THidDeviceEntry Entry;
        std::shared_ptr<TFakeHidCable> Cable;
    };
    std::vector<TEntry> Cables;

    TFakeHidCables() { SetHidSystem(this); }
    ~TFakeHidCables() override { SetHidSystem(nullptr); }

    TFakeHidCable& Add(const char* path, uint16_t vendor, uint16_t product)
    {
        Cables.push_back({{QString::fromLatin1(path), vendor, product, QStringLiteral("Maker"),
                           QStringLiteral("Cable")},
                          std::make_shared<TFakeHidCable>()});
        return *Cables.back().Cable;
    }
    bool Available() override { return true; }
    std::vector<THidDeviceEntry> Enumerate(uint16_t, uint16_t) override
    {
        std::vector<THidDeviceEntry> list;
        for (const TEntry& e : Cables)
            list.push_back(e.Entry);
        return list;
    }
    std::unique_ptr<IHidDevice> Open(const QString& path) override
    {
        for (const TEntry& e : Cables)
            if (e.Entry.Path == path)
                return std::make_unique<TShared>(e.Cable);
        return nullptr;
    }

private:
    // The program owns its handle; the cable outlives it.
    class TShared : public IHidDevice {
    public:
        explicit TShared(std::shared_ptr<TFakeHidCable> cable) : m_cable(std::move(cable)) {}
        int32_t Write(const uint8_t* d, int32_t n) override { return m_cable->Write(d, n); }
        int32_t Read(uint8_t* d, int32_t n, int32_t t) override { return m_cable->Read(d, n, t); }
        int32_t SetFeature(const uint8_t* d, int32_t n) override
        {
            return m_cable->SetFeature(d, n);
        }
        void FlushQueue() override { m_cable->FlushQueue(); }

    private:
        std::shared_ptr<TFakeHidCable> m_cable;
    };
};
