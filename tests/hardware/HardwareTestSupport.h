#pragma once
// A fresh program context with the hardware classes and hooks, a simulated I/O space and a
// fake clock.

#include "core/board/BoardHooks.h"
#include "core/board/Platine.h"
#include "core/model/ClassRegistry.h"
#include "core/model/Translator.h"
#include "hardware/framework/IoPort.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/PortIo.h"
#include "shell/Composition.h"
#include "shell/mainwindow/RegisterClasses.h"

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
