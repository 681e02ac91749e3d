// Every component class the program registers is fully described, behaves as its description
// says, and survives a save and reload of a board that holds one object of each.

#include "core/board/Makro.h"
#include "core/board/Platine.h"
#include "shell/mainwindow/RegisterClasses.h"
#include "core/model/ClassRegistry.h"
#include "core/model/Translator.h"
#include "platform/Context.h"
#include "platform/Filer.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <set>

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

TEST(AllClasses, EveryComponentClassIsDescribedAndFollowsItsDescription)
{
    ResetContext();
    BuildTranslationTable(); // type names built from translated words
    TClassRegistry registry;
    RegisterComponentClasses(registry);

    // The model's own bases and the macro classes are no palette components.
    const std::set<QString> bases{QStringLiteral("TIOBauteil"), QStringLiteral("TGrundBT"),
                                  QStringLiteral("TMakro"), QStringLiteral("TBTPin")};
    int described = 0;
    for (const QString& name : registry.Names()) {
        SCOPED_TRACE(name.toStdString());
        if (bases.count(name) || !dynamic_cast<TIOBauteil*>(registry.CreateByName(name).get()))
            continue;
        const TComponentDescription* d = registry.DescriptionOf(name);
        ASSERT_NE(nullptr, d) << "registered without a description";
        EXPECT_EQ(QString(), DescriptionFault(*d));
        ++described;

        for (int language = 0; language < 3; ++language) {
            SCOPED_TRACE(language);
            Ctx().CurrentLanguage = uint8_t(language);
            auto item = registry.CreateBoardItem(name);
            const auto& c = dynamic_cast<const TIOBauteil&>(*item);
            EXPECT_EQ(d->Prefix.In(language), c.Prefix());
            EXPECT_EQ(d->HelpContext, c.HelpContext);
            EXPECT_EQ(d->TypeName.In(language), c.GetTypeName());
            ASSERT_EQ(d->Inputs.Default, c.InputCount);
            ASSERT_EQ(d->Outputs.Default, c.OutputCount);
            const QStringList inputs = ExpandPinNames(d->InputNames);
            for (int i = 0; i < inputs.size() && i < c.InputCount; ++i)
                EXPECT_EQ(inputs[i], c.Inputs[size_t(i)]->Name()) << "input " << i;
            const QStringList outputs = ExpandPinNames(d->OutputNames);
            for (int i = 0; i < outputs.size() && i < c.OutputCount; ++i)
                EXPECT_EQ(outputs[i], c.Outputs[size_t(i)]->Name()) << "output " << i;
        }
    }
    EXPECT_EQ(size_t(described), registry.Components().size());

    // Every described class stands in exactly one palette category.
    size_t grouped = 0;
    for (const auto& group : registry.ComponentsByCategory()) {
        EXPECT_FALSE(PaletteCategoryName(group.Category).isEmpty());
        grouped += group.Components.size();
    }
    EXPECT_EQ(registry.Components().size(), grouped);
    FreeTranslationTable();
    ResetContext();
}
