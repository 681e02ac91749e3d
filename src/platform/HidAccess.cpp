#include "platform/HidAccess.h"

#include <QFile>
#include <QFileInfo>
#include <hidapi/hidapi.h>

#include <algorithm>

namespace {

IHidSystem* g_system = nullptr;

QString FromWide(const wchar_t* text)
{
    return text ? QString::fromWCharArray(text) : QString();
}

// The report descriptor of a hidraw node, from sysfs.
std::vector<uint8_t> ReadDescriptor(const QString& path)
{
    const QString node = QFileInfo(path).fileName();
    QFile file(QStringLiteral("/sys/class/hidraw/%1/device/report_descriptor").arg(node));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

class THidApiDevice : public IHidDevice {
public:
    THidApiDevice(hid_device* handle, bool numbered) : m_handle(handle), m_numbered(numbered) {}
    ~THidApiDevice() override { hid_close(m_handle); }

    int32_t Write(const uint8_t* data, int32_t size) override
    {
        return size <= 0 ? 0 : hid_write(m_handle, data, size_t(size));
    }
    int32_t Read(uint8_t* data, int32_t size, int32_t timeoutMs) override
    {
        if (size <= 0)
            return 0;
        if (m_numbered)
            return hid_read_timeout(m_handle, data, size_t(size), std::max(timeoutMs, 0));
        // Unnumbered reports come without their ID byte: put the 0 in front.
        data[0] = 0;
        if (size == 1)
            return 1;
        const int n = hid_read_timeout(m_handle, data + 1, size_t(size - 1), std::max(timeoutMs, 0));
        return n > 0 ? n + 1 : n;
    }
    int32_t SetFeature(const uint8_t* data, int32_t size) override
    {
        return size <= 0 ? 0 : hid_send_feature_report(m_handle, data, size_t(size));
    }
    void FlushQueue() override
    {
        uint8_t buffer[256];
        for (int i = 0; i < 1000 && hid_read_timeout(m_handle, buffer, sizeof buffer, 0) > 0; ++i) {
        }
    }

private:
    hid_device* m_handle;
    bool m_numbered;
};

class THidApiSystem : public IHidSystem {
public:
    bool Available() override
    {
        static const bool ok = hid_init() == 0;
        return ok;
    }
    std::vector<THidDeviceEntry> Enumerate(uint16_t vendorId, uint16_t productId) override
    {
        std::vector<THidDeviceEntry> list;
        if (!Available())
            return list;
        hid_device_info* all = hid_enumerate(vendorId, productId);
        for (hid_device_info* d = all; d; d = d->next) {
            THidDeviceEntry e;
            e.Path = QString::fromLocal8Bit(d->path);
            e.VendorId = d->vendor_id;
            e.ProductId = d->product_id;
            e.Manufacturer = FromWide(d->manufacturer_string);
            e.Product = FromWide(d->product_string);
            list.push_back(e);
        }
        hid_free_enumeration(all);
        return list;
    }
    std::unique_ptr<IHidDevice> Open(const QString& path) override
    {
        if (!Available() || path.isEmpty())
            return nullptr;
        hid_device* handle = hid_open_path(path.toLocal8Bit().constData());
        if (!handle)
            return nullptr;
        return std::make_unique<THidApiDevice>(handle, DescriptorHasReportIds(ReadDescriptor(path)));
    }
};

} // namespace

IHidSystem& HidSystem()
{
    static THidApiSystem real;
    return g_system ? *g_system : real;
}

void SetHidSystem(IHidSystem* system)
{
    g_system = system;
}

bool DescriptorHasReportIds(const std::vector<uint8_t>& descriptor)
{
    size_t i = 0;
    while (i < descriptor.size()) {
        const uint8_t prefix = descriptor[i];
        if (prefix == 0xFE) { // long item: size byte, tag byte, data
            if (i + 1 >= descriptor.size())
                break;
            i += 3 + descriptor[i + 1];
            continue;
        }
        if ((prefix & 0xFC) == 0x84) // global item Report ID
            return true;
        const size_t size = (prefix & 3) == 3 ? 4 : (prefix & 3);
        i += 1 + size;
    }
    return false;
}
