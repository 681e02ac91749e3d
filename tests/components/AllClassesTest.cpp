// Every component class the program registers survives a save and reload of a board that
// holds one object of each.

#include "core/board/Makro.h"
#include "core/board/Platine.h"
#include "shell/mainwindow/RegisterClasses.h"
#include "core/model/ClassRegistry.h"
#include "platform/Context.h"
#include "platform/Filer.h"

#include <gtest/gtest.h>

#include <QBuffer>

namespace {

// Components that can stand on a board by themselves (macro blocks need an inner board).
QStringList PlaceableComponents(const TClassRegistry& registry)
{
    QStringList names;
    for (const QString& name : registry.Names()) {
        if (name == u"TIOBauteil" || name == u"TMakro")
            continue;
        auto object = registry.CreateByName(name);
        if (dynamic_cast<TIOBauteil*>(object.get()))
            names << name;
    }
    return names;
}

} // namespace

TEST(AllClasses, EveryComponentSurvivesSaveAndReload)
{
    ResetContext();
    TClassRegistry& registry = ClassRegistry();
    RegisterComponentClasses(registry);
    const QStringList names = PlaceableComponents(registry);
    ASSERT_GT(names.size(), 80);

    TPlatine board;
    int x = 0;
    for (const QString& name : names) {
        auto item = registry.CreateBoardItem(name);
        std::unique_ptr<TIOBauteil> component(static_cast<TIOBauteil*>(item.release()));
        component->MoveBy(x, 0);
        x += 20;
        board.AddComponent(std::move(component));
    }

    QByteArray data;
    {
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        TWriter writer(buffer, true);
        board.WriteCircuit(writer, false);
    }

    TPlatine copy;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer, true);
    ASSERT_NO_THROW(copy.ReadCircuit(reader, 44));
    EXPECT_TRUE(reader.AtEnd());

    QStringList readBack;
    for (const auto& item : copy.Items)
        if (auto* c = dynamic_cast<TIOBauteil*>(item.get()))
            readBack << QString::fromLatin1(c->ClassName());
    EXPECT_EQ(readBack, names);
}
