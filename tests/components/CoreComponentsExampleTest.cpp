// The example project: it opens with its LEDs on the front panel and its circuit runs.
#include "components/analog/SimulationStop.h"
#include "core/board/BoardHooks.h"
#include "shell/Composition.h"
#include "core/board/Platine.h"
#include "components/core/CoreComponents.h"
#include "shell/mainwindow/ProjectFiles.h"
#include "shell/mainwindow/RegisterClasses.h"
#include "core/model/ClassRegistry.h"
#include "frontpanel/Design.h"
#include "frontpanel/ElementRegistry.h"
#include "frontpanel/FrontPanel.h"
#include "frontpanel/Led.h"
#include "platform/Context.h"
#include "platform/Filer.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <memory>
#include <set>

namespace {

template <class T>
std::vector<T*> ItemsOfClass(TPlatine& board)
{
    std::vector<T*> list;
    for (const auto& item : board.Items) {
        if (auto* c = dynamic_cast<T*>(item.get()))
            list.push_back(c);
    }
    return list;
}

TEST(CoreComponentsExample, LoadsAndRuns)
{
    ResetContext();
    RegisterComponentClasses(ClassRegistry());
    RegisterFrontPanelElements(ElementRegistry());
    const QString path = QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../../examples/Example.prj"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QByteArray bytes = file.readAll();
    ASSERT_GE(bytes.size(), 5);
    EXPECT_EQ(bytes.left(5), QByteArray("\x02\x00\x00\x2c\x00", 5));
    EXPECT_TRUE(TProjectFiles::CheckProjectHeader(bytes.left(5)));

    InstallHooks();
    auto panel = std::make_unique<TFrontplatte>();
    {
        TPlatine board;
        TProjectFiles project;
        project.MainBoard = &board;
        project.FrontPanel = panel.get();
        project.BindBoard(board);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        TReader reader(buffer, true);
        const uint8_t version = project.ReadProjectHeader(reader);
        EXPECT_EQ(version, 44);
        project.ReadProjectBody(reader, version);

        const std::vector<TBTLed*> leds = ItemsOfClass<TBTLed>(board);
        ASSERT_EQ(leds.size(), 4u);
        for (TBTLed* led : leds)
            ASSERT_NE(dynamic_cast<TPLED*>(led->Link), nullptr);
        const std::vector<TBTTestpunkt*> points = ItemsOfClass<TBTTestpunkt>(board);
        ASSERT_EQ(points.size(), 1u);
        ASSERT_EQ(ItemsOfClass<TBTTaktgeber>(board).size(), 2u);

        // Several hundred steps with a 50-ms tick between step pairs: every LED and the sum
        // change.
        board.StartSimulation();
        std::vector<std::set<bool>> ledStates(leds.size());
        std::set<double> sums;
        for (int step = 0; step < 300; ++step) {
            if (step % 2 == 0)
                board.TickClockedObjects();
            board.SimStep();
            for (size_t i = 0; i < leds.size(); ++i)
                ledStates[i].insert(static_cast<TPLED*>(leds[i]->Link)->Eingeschaltet);
            sums.insert(double(points[0]->Value));
        }
        board.EndSimulation();
        for (size_t i = 0; i < leds.size(); ++i)
            EXPECT_EQ(ledStates[i].size(), 2u) << i;
        EXPECT_EQ(sums, (std::set<double>{0.0, 5.0, 10.0}));
        for (TBTLed* led : leds) {
            led->Link->Component = nullptr;
            led->SetLink(nullptr);
        }
    }
    panel.reset();
    ResetBoardHooks();
    ResetContext();
}

} // namespace
