// DDE between program instances over local sockets: items advised and poked, a topic that is
// not served, a second instance on the same service, and a partner that goes away.
#include "platform/DdeConversation.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// Lets the server's events run until the condition holds (at most 5 s).
template <class F>
bool PumpUntil(F condition)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > 5000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

const QString kService = QStringLiteral("TAVRINOLTEST%1").arg(getpid());

} // namespace

TEST(DdeConversationTest, ClientIsAdvisedOfItemsAndPokesThem)
{
    auto server = std::make_unique<TLocalDdeServer>(kService, QStringLiteral("DDE"));
    ASSERT_TRUE(server->Serving());
    server->SetItem(QStringLiteral("MAIN_DDES1_S0"), QStringLiteral("0"));

    TLocalDdeConversation client;
    EXPECT_FALSE(client.Link(kService, QStringLiteral("OTHER"))); // a topic nobody serves
    ASSERT_TRUE(client.Link(kService.toLower(), QStringLiteral("dde")));
    client.Advise(QStringLiteral("main_ddes1_s0"));
    EXPECT_TRUE(PumpUntil([&] { return client.ItemText(QStringLiteral("MAIN_DDES1_S0")) == QStringLiteral("0"); }));
    const QString text = QString::fromUtf8("Grüße\n1 2%");
    server->SetItem(QStringLiteral("MAIN_DDES1_S0"), text);
    EXPECT_TRUE(PumpUntil([&] { return client.ItemText(QStringLiteral("MAIN_DDES1_S0")) == text; }));

    EXPECT_TRUE(client.Poke(QStringLiteral("MAIN_DDES1_S0"), QStringLiteral("42")));
    EXPECT_TRUE(client.Poke(QStringLiteral("NO_SUCH_ITEM"), QStringLiteral("x")));
    EXPECT_TRUE(PumpUntil([&] { return server->ItemText(QStringLiteral("MAIN_DDES1_S0")) == QStringLiteral("42"); }));
    EXPECT_FALSE(server->HasItem(QStringLiteral("NO_SUCH_ITEM"))); // a poke makes no item

    // A second instance with the same service leaves it to the first.
    TLocalDdeServer second(kService, QStringLiteral("DDE"));
    EXPECT_FALSE(second.Serving());

    // The partner goes away: the client is told once and is no longer linked.
    int closed = 0;
    client.OnClosed = [&] { ++closed; };
    server.reset();
    EXPECT_TRUE(PumpUntil([&] { return !client.Linked(); }));
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(client.Poke(QStringLiteral("MAIN_DDES1_S0"), QStringLiteral("1")));
    EXPECT_EQ(client.ItemText(QStringLiteral("MAIN_DDES1_S0")), QStringLiteral("42"));

    // The name is free again for the next instance.
    TLocalDdeServer third(kService, QStringLiteral("DDE"));
    EXPECT_TRUE(third.Serving());
}
