#pragma once
// The fixture of the devices that reach their hardware through a maker's library: a program
// folder whose settings file names the fake libraries, the message boxes recorded, the clock
// moving inside waits, and the libraries a test loaded released after it.

#include "hardware/HardwareTestSupport.h"

#include "fakes/FakeVendorLibrary.h"
#include "hardware/framework/IoInterface.h"
#include "platform/DynamicLibrary.h"
#include "platform/MessageBox.h"

#include <QDir>
#include <QTemporaryDir>

#include <functional>
#include <vector>

class VendorLibraryFixture : public HardwareFixture {
protected:
    void SetUp() override
    {
        HardwareFixture::SetUp();
        Ctx().ProgramFolder = folder.path() + QLatin1Char('/');
        QDir().mkpath(folder.path() + QStringLiteral("/Settings"));
    }
    void TearDown() override
    {
        for (const auto& free : Releases)
            free();
        SetLibraryLoader({});
        HardwareFixture::TearDown();
    }
    // No library loads on this machine, not even one the maker installed for the system.
    static void NoLibraries()
    {
        SetLibraryLoader([](const QString&, QString* error) -> std::unique_ptr<TDynamicLibrary> {
            if (error)
                *error = QStringLiteral("not found");
            return nullptr;
        });
    }
    // Each step the device or a port takes inside a wait moves the clock by one millisecond.
    void LetWaitsPass(TIOInterface& device)
    {
        device.StepCallback = [this] { fake.clock.AdvanceMs(1); };
        for (auto& port : device.Ports)
            port->StepCallback = [this] { fake.clock.AdvanceMs(1); };
    }
    // The milliseconds that one step of the device waits.
    uint32_t TimedStep(TIOInterface& device)
    {
        const uint32_t start = fake.clock.TickCount();
        device.MachEsJetzt();
        return fake.clock.TickCount() - start;
    }

    QTemporaryDir folder;
    TScopedMessageResponder messages;
    std::vector<std::function<void()>> Releases; // frees the libraries a test loaded
};
