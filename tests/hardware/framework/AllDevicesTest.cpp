// Every registered device class against its description: texts in the three languages, help
// topic, port classes, older stored names, its place in the palette, and a device as the palette
// places it that comes back unchanged through the circuit stream and the hardware settings file.
#include "hardware/HardwareTestSupport.h"

#include "core/BoardTestSupport.h"
#include "hardware/framework/BtHardware.h"
#include "hardware/framework/HardwareSettings.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "shell/palette/Bibo.h"
#include "shell/palette/PaletteCategories.h"

#include <QTemporaryDir>

#include <map>

namespace {

class AllDevicesTest : public HardwareFixture {
protected:
    // A board with one hardware component placed as the palette places it.
    static void PlaceDefault(TPlatine& board, const TDeviceDescription& device)
    {
        auto component = CreateHardwareComponent(QString::fromLatin1(device.Name));
        component->LayoutPins();
        board.AddComponent(std::move(component));
    }
    static QByteArray StoredString(const QByteArray& text)
    {
        return QByteArray(1, '\x06') + char(text.size()) + text;
    }
};

} // namespace

TEST_F(AllDevicesTest, EveryDeviceFollowsItsCompleteDescription)
{
    const auto& devices = ClassRegistry().Devices();
    ASSERT_FALSE(devices.empty());
    for (const TDeviceDescription* d : devices) {
        SCOPED_TRACE(d->Name);
        EXPECT_EQ(DeviceDescriptionFault(*d), QString());
        EXPECT_EQ(ClassRegistry().DeviceDescriptionOf(QString::fromLatin1(d->Name)), d);
        for (int language = 0; language < 3; ++language) {
            SCOPED_TRACE(language);
            Ctx().CurrentLanguage = uint8_t(language);
            auto component = CreateHardwareComponent(QString::fromLatin1(d->Name));
            const TIOInterface& device = *component->Interface;
            EXPECT_STREQ(device.ClassName(), d->Name);
            EXPECT_EQ(&device.DeviceDescription(), d);
            EXPECT_EQ(device.Praefix(), d->Prefix.In(language));
            EXPECT_EQ(device.BiboName(), d->PaletteName.In(language));
            EXPECT_EQ(device.Beschriftung(), d->Caption.In(language));
            EXPECT_EQ(device.HelpContext, d->HelpContext);
            EXPECT_EQ(component->Prefix(), d->Prefix.In(language).left(10));
            EXPECT_EQ(component->Caption, d->Caption.In(language).left(40));
            EXPECT_EQ(component->GetTypeName(), d->PaletteName.In(language));
            EXPECT_EQ(component->HelpContext, d->HelpContext);
        }
        for (const TClassEntry& port : d->Ports) {
            SCOPED_TRACE(port.Name);
            auto object = ClassRegistry().CreateByName(QString::fromLatin1(port.Name));
            EXPECT_STREQ(object->ClassName(), port.Name);
            EXPECT_NE(dynamic_cast<TIOPort*>(object.get()), nullptr);
        }
    }
}

TEST_F(AllDevicesTest, OlderStoredNamesLoadAsTheirDevice)
{
    int named = 0;
    for (const TDeviceDescription* d : ClassRegistry().Devices()) {
        for (const char* stored : d->LegacyNames) {
            SCOPED_TRACE(stored);
            ++named;
            const QString name = QString::fromLatin1(stored);
            EXPECT_EQ(HardwareDeviceClass(name.toLower()), QString::fromLatin1(d->Name));
            EXPECT_EQ(HardwareDeviceClass(name.toUpper()), QString::fromLatin1(d->Name));
            if (!std::strcmp(d->Name, TIOInterface::StaticClassName()))
                continue; // the stored name of the component itself

            // The record of an older project: its own class name, no device class name.
            TPlatine board;
            PlaceDefault(board, *d);
            const QByteArray current = WriteBoard(board);
            QByteArray older = current;
            const QByteArray component = StoredString(TBTHardware::StaticClassName());
            const qsizetype at = older.indexOf(component);
            ASSERT_GE(at, 0);
            older.replace(at, component.size(), StoredString(stored));
            const QByteArray deviceClass = StoredString(d->Name);
            const qsizetype classAt = older.indexOf(deviceClass, at);
            ASSERT_GT(classAt, at);
            older.remove(classAt, deviceClass.size());

            TPlatine loaded;
            EXPECT_EQ(ReadBoard(loaded, older), 0);
            const auto hardware = ItemsOf<TBTHardware>(loaded);
            ASSERT_EQ(hardware.size(), 1u);
            ASSERT_TRUE(hardware[0]->Interface);
            EXPECT_STREQ(hardware[0]->Interface->ClassName(), d->Name);
            EXPECT_EQ(WriteBoard(loaded), current);
        }
    }
    EXPECT_GT(named, 1);
    EXPECT_EQ(HardwareDeviceClass(QStringLiteral("TBTGate")), QString());
}

TEST_F(AllDevicesTest, EachPaletteCategoryHoldsItsDevicesInRegistrationOrder)
{
    std::map<int, QStringList> described;
    for (const TDeviceDescription* d : ClassRegistry().Devices())
        if (d->Category != TPaletteCategory::None)
            described[int(d->Category)] << QString::fromLatin1(d->Name);
    ASSERT_FALSE(described.empty());
    TBibo palette;
    palette.OnReadHeader = ReadLibraryHeader;
    for (int row = 0; row < PaletteCategoryCount; ++row) {
        SCOPED_TRACE(row);
        palette.LoadLibrary(BuildCategoryLibrary(row), QString());
        QStringList placed;
        for (const auto& entry : palette.Entries)
            if (auto* hardware = dynamic_cast<TBTHardware*>(entry.get()))
                placed << QString::fromLatin1(hardware->Interface->ClassName());
        EXPECT_EQ(placed, described[row]);
    }
}

TEST_F(AllDevicesTest, DefaultDevicesComeBackThroughStreamAndSettingsFile)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    for (const TDeviceDescription* d : ClassRegistry().Devices()) {
        if (d->Category == TPaletteCategory::None)
            continue; // a base class, never placed as it is
        SCOPED_TRACE(d->Name);
        TPlatine board;
        PlaceDefault(board, *d);
        const QByteArray saved = WriteBoard(board);

        TPlatine loaded;
        ASSERT_EQ(ReadBoard(loaded, saved), 0);
        EXPECT_EQ(WriteBoard(loaded), saved);

        TIniFile ini(folder.filePath(QString::fromLatin1(d->Name) + QStringLiteral(".ini")));
        int32_t number = 1;
        SaveHardwareSettings(board, ini, number);
        const QStringList sections = ini.ReadSections();
        ASSERT_EQ(sections.size(), 1);
        const QStringList values = ini.ReadSectionValues(sections[0]);
        number = 1;
        LoadHardwareSettings(loaded, ini, number);
        EXPECT_EQ(WriteBoard(loaded), saved);
        number = 1;
        SaveHardwareSettings(loaded, ini, number);
        EXPECT_EQ(ini.ReadSectionValues(sections[0]), values);
    }
}
