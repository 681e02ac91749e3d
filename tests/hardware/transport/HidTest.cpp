// HID access on a fake HID system: enumeration, choice by occurrence, opening at run start,
// and an enumeration during a run that leaves the running device alone.
#include "hardware/HardwareTestSupport.h"

#include "hardware/transport/HidInterface.h"
#include "platform/HidAccess.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"

#include <QTemporaryDir>

namespace {

class TFakeHidDevice : public IHidDevice {
public:
    explicit TFakeHidDevice(int& open) : m_open(open) { ++m_open; }
    ~TFakeHidDevice() override { --m_open; }
    int32_t Write(const uint8_t*, int32_t size) override { return size; }
    int32_t Read(uint8_t* data, int32_t size, int32_t) override
    {
        data[0] = 0;
        return 1;
    }
    int32_t SetFeature(const uint8_t*, int32_t size) override { return size; }
    void FlushQueue() override {}

private:
    int& m_open;
};

class TFakeHid : public IHidSystem {
public:
    std::vector<THidDeviceEntry> Present;
    std::vector<QString> Opened;
    int OpenCount = 0;
    bool Available() override { return true; }
    std::vector<THidDeviceEntry> Enumerate(uint16_t, uint16_t) override { return Present; }
    std::unique_ptr<IHidDevice> Open(const QString& path) override
    {
        for (const auto& e : Present)
            if (e.Path == path) {
                Opened.push_back(path);
                return std::make_unique<TFakeHidDevice>(OpenCount);
            }
        return nullptr;
    }
};

THidDeviceEntry Cable(const char* path, uint16_t vendor, uint16_t product)
{
    return {QString::fromLatin1(path), vendor, product, QStringLiteral("Maker"),
            QStringLiteral("Cable")};
}

class HidTest : public HardwareFixture {
protected:
    void SetUp() override
    {
        HardwareFixture::SetUp();
        SetHidSystem(&hid);
    }
    void TearDown() override
    {
        SetHidSystem(nullptr);
        HardwareFixture::TearDown();
    }
    TFakeHid hid;
    TScopedMessageResponder messages;
};

} // namespace

TEST_F(HidTest, SecondOfTwoIdenticalCablesIsFoundAgainByOccurrence)
{
    hid.Present = {Cable("/dev/hidraw0", 0x1A86, 0xE008), Cable("/dev/hidraw1", 0x04D8, 1),
                   Cable("/dev/hidraw2", 0x1A86, 0xE008)};
    THIDInterface device;
    ASSERT_EQ(device.Devices.size(), 4u);
    EXPECT_EQ(device.Devices[1].DisplayName, QStringLiteral("Maker: Cable"));
    device.ChooseDevice(3);
    EXPECT_EQ(device.Wanted.Occurrence, 2);

    // Re-plugged in another order: the second of the two is still the one.
    hid.Present = {Cable("/dev/hidraw5", 0x1A86, 0xE008), Cable("/dev/hidraw6", 0x1A86, 0xE008)};
    device.SimPrepare();
    device.SimStart();
    EXPECT_EQ(hid.Opened, std::vector<QString>{QStringLiteral("/dev/hidraw6")});
    EXPECT_EQ(hid.OpenCount, 1);
    // An enumeration while running (a settings dialog) leaves the running device open.
    THIDInterface::ListDevices(device.Devices, 0, 0);
    device.SimPrepare();
    EXPECT_EQ(hid.OpenCount, 1);
    EXPECT_TRUE(device.DeviceHandle);
    device.SimStop();
    EXPECT_EQ(hid.OpenCount, 0);

    // With one of them removed the device runs unopened, and the user is told.
    hid.Present.pop_back();
    device.SimPrepare();
    device.SimStart();
    EXPECT_FALSE(device.DeviceHandle);
    EXPECT_EQ(messages.Requests().size(), 1u);
    device.SimStop();
}

TEST_F(HidTest, ListNamesAndFilters)
{
    hid.Present = {Cable("a", 1, 1), Cable("b", 2, 2), Cable("c", 0x0925, 0x1234),
                   Cable("d", 0x1B67, 4)};
    std::vector<TDeviceInfo> list;
    THIDInterface::ListDevices(list, 0, 0);
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list[3].DisplayName, QStringLiteral("Maker: Cable[3] = M-3890D USB"));
    THIDInterface::ListDevices(list, 2, 0);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1].DevicePath, QStringLiteral("b"));
    THIDInterface::ListDevices(list, 0x1B67, 10); // the family that also answers as product 4
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1].DevicePath, QStringLiteral("d"));
}

TEST_F(HidTest, MissingDeviceIndexMeansTheFirstOccurrence)
{
    QTemporaryDir dir;
    TIniFile ini(dir.path() + QStringLiteral("/hw.ini"));
    THIDInterface device;
    device.readFromIni(ini, QStringLiteral("1.HID1"));
    EXPECT_EQ(device.Wanted.Occurrence, 1);
    device.BaseAddress = 0x12;
    device.writeToIni(ini, QStringLiteral("1.HID1"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("1.HID1"), QStringLiteral("DeviceIndex"), {}),
              QStringLiteral("0012"));
}

TEST_F(HidTest, ReportIdsAreFoundInTheDescriptor)
{
    // Usage page, usage, collection, report ID 1, ..., end collection.
    EXPECT_TRUE(DescriptorHasReportIds({0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x01,
                                        0x95, 0x08, 0xC0}));
    // The same without the report ID; a data byte 0x85 inside an item does not count.
    EXPECT_FALSE(DescriptorHasReportIds({0x06, 0x85, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x95, 0x85,
                                         0xC0}));
    EXPECT_FALSE(DescriptorHasReportIds({}));
}
