#pragma once
// A fresh program context with the hardware classes and hooks, a simulated I/O space and a
// fake clock.

#include "core/board/BoardHooks.h"
#include "core/board/Platine.h"
#include "core/model/ClassRegistry.h"
#include "core/model/Translator.h"
#include "hardware/framework/IoPort.h"
#include "platform/Clock.h"
#include "platform/Filer.h"
#include "platform/Context.h"
#include "platform/PortIo.h"
#include "shell/Composition.h"
#include "shell/mainwindow/RegisterClasses.h"

#include <QBuffer>

#include <gtest/gtest.h>

class HardwareFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetContext();
        BuildTranslationTable();
        RegisterComponentClasses(ClassRegistry());
        InstallHooks();
        SetPortIo(&io);
        SimFastQuery() = [] { return true; };
    }
    void TearDown() override
    {
        SetPortIo(nullptr);
        ResetBoardHooks();
        ResetSimulationHooks();
        SimFastQuery() = nullptr;
        ResetContext();
    }

    TSimulatedPortIo io;
    TScopedFakeClock fake;
};

// A device's (or port's) stored record, and reading one back; the whole record is consumed.
inline QByteArray StoreRecord(TIOPort& device)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    TWriter writer(buffer);
    device.writeToStream(writer);
    return data;
}
inline void LoadRecord(TIOPort& device, QByteArray data)
{
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    device.readFromStream(reader);
    EXPECT_TRUE(reader.AtEnd());
}
