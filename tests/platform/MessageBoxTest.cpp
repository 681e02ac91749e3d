#include "platform/Context.h"
#include "platform/Help.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override { ResetContext(); }
    void TearDown() override
    {
        SetUrlOpenerForTesting({});
        ResetContext();
    }
};

TEST_F(MessageBoxTest, ResponderAnswersFromItsQueueAndRecords)
{
    TScopedMessageResponder responder;
    responder.Answer(mrNo);
    responder.Answer(mrCancel);

    EXPECT_EQ(MessageDlg("first", mtConfirmation, mbYes | mbNo | mbCancel), mrNo);
    EXPECT_EQ(MessageBoxText("second", "My caption", mbOK | mbCancel, mtWarning), mrCancel);
    EXPECT_EQ(MessageDlg("third", mtError, mbYes | mbNo), mrYes); // queue empty: the default
    ShowMessage("fourth");

    const auto& r = responder.Requests();
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0].text, "first");
    EXPECT_EQ(r[0].caption, QString::fromUtf8("Bestätigen"));
    EXPECT_EQ(r[0].type, mtConfirmation);
    EXPECT_EQ(r[0].buttons, mbYes | mbNo | mbCancel);
    EXPECT_EQ(r[1].caption, "My caption");
    EXPECT_EQ(r[1].type, mtWarning);
    EXPECT_EQ(r[2].caption, "Fehler");
    EXPECT_EQ(r[3].text, "fourth");
    EXPECT_EQ(r[3].buttons, mbOK);
    EXPECT_EQ(r[3].type, mtCustom);
    EXPECT_FALSE(r[3].caption.isEmpty());
}

TEST_F(MessageBoxTest, DefaultResultFollowsTheButtons)
{
    struct Case {
        TMsgDlgButtons buttons;
        int requested;
        int expected;
    };
    const Case cases[] = {
        {mbOK, mrNone, mrOk},
        {mbOK | mbCancel, mrNone, mrOk},
        {mbYes | mbNo, mrNone, mrYes},
        {mbYes | mbNo | mbCancel, mrNone, mrYes},
        {mbNo | mbCancel, mrNone, mrCancel},
        {mbAbort | mbRetry | mbIgnore, mrNone, mrAbort},
        {mbRetry | mbCancel, mrNone, mrCancel}, // never retry unattended
        {0, mrNone, mrOk},                      // no buttons: an OK box
        {mbYes | mbNo, mrNo, mrNo},             // the caller's default
        {mbYes | mbNo, mrCancel, mrYes},        // a default without its button is ignored
    };
    TScopedMessageResponder responder;
    for (const Case& c : cases)
        MessageDlg("t", mtConfirmation, c.buttons, 0, c.requested);
    ASSERT_EQ(responder.Requests().size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(responder.Requests()[i].defaultResult, cases[i].expected);
    }
}

TEST_F(MessageBoxTest, CaptionsFollowTheLanguage)
{
    const char* expected[3][4] = {
        {"Warnung", "Fehler", "Information", "Bestätigen"},
        {"Warning", "Error", "Information", "Confirm"},
        {"Avertissement", "Erreur", "Information", "Confirmation"},
    };
    const TMsgDlgType types[] = {mtWarning, mtError, mtInformation, mtConfirmation};
    TScopedMessageResponder responder;
    for (int lang = 0; lang < 3; ++lang) {
        Ctx().CurrentLanguage = static_cast<uint8_t>(lang);
        for (TMsgDlgType type : types)
            MessageDlg("t", type, mbOK);
    }
    ASSERT_EQ(responder.Requests().size(), 12u);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(responder.Requests()[i].caption, QString::fromUtf8(expected[i / 4][i % 4]));
}

TEST_F(MessageBoxTest, ScopedRespondersNestAndRestore)
{
    TScopedMessageResponder outer;
    {
        TScopedMessageResponder inner;
        inner.Answer(mrNo);
        EXPECT_EQ(MessageDlg("inner", mtConfirmation, mbYes | mbNo), mrNo);
        EXPECT_EQ(inner.Requests().size(), 1u);
    }
    outer.Answer(mrIgnore);
    EXPECT_EQ(MessageDlg("outer", mtError, mbAbort | mbRetry | mbIgnore), mrIgnore);
    ASSERT_EQ(outer.Requests().size(), 1u);
    EXPECT_EQ(outer.Requests()[0].text, "outer");
}

TEST_F(MessageBoxTest, HeadlessBoxPrintsAndTakesItsDefault)
{
    // The test binary runs on the offscreen platform with no responder installed.
    testing::internal::CaptureStderr();
    const int yes = MessageDlg("Datei speichern?", mtConfirmation, mbYes | mbNo | mbCancel);
    const int no = MessageDlg("Weiter?", mtWarning, mbYes | mbNo, 0, mrNo);
    const int cancel = MessageBoxText("Nochmal?", "Gerät", mbRetry | mbCancel, mtError);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(yes, mrYes);
    EXPECT_EQ(no, mrNo);
    EXPECT_EQ(cancel, mrCancel);
    EXPECT_NE(err.find("[message] Bestätigen: Datei speichern?\n"), std::string::npos) << err;
    EXPECT_NE(err.find("[message] Warnung: Weiter?\n"), std::string::npos) << err;
    EXPECT_NE(err.find("[message] Gerät: Nochmal?\n"), std::string::npos) << err;
}

TEST_F(MessageBoxTest, HelpOpensThePageOrSaysThereIsNone)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Ctx().ProgramFolder = dir.path() + u'/';
    QDir().mkpath(dir.path() + "/Help");
    for (const char* name : {"/Help/42.html", "/Help/INDEX.HTML"}) {
        QFile f(dir.path() + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    std::vector<QUrl> opened;
    bool openerWorks = true;
    SetUrlOpenerForTesting([&](const QUrl& url) {
        opened.push_back(url);
        return openerWorks;
    });
    TScopedMessageResponder responder;

    OpenHelpTopic(42);
    OpenHelpContents();
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(dir.path() + "/Help/42.html"));
    EXPECT_EQ(opened[1], QUrl::fromLocalFile(dir.path() + "/Help/INDEX.HTML"));
    EXPECT_TRUE(responder.Requests().empty());

    const char* missing[3] = {"Zu diesem Thema gibt es keine Hilfeseite.",
                              "There is no help page for this topic.",
                              "Il n'y a pas de page d'aide pour ce sujet."};
    for (int lang = 0; lang < 3; ++lang) {
        Ctx().CurrentLanguage = static_cast<uint8_t>(lang);
        OpenHelpTopic(7);
    }
    EXPECT_EQ(opened.size(), 2u);
    ASSERT_EQ(responder.Requests().size(), 3u);
    for (int lang = 0; lang < 3; ++lang)
        EXPECT_EQ(responder.Requests()[lang].text, QString::fromUtf8(missing[lang]));

    // A page that exists but cannot be shown is not passed over in silence.
    openerWorks = false;
    Ctx().CurrentLanguage = 1;
    OpenHelpTopic(42);
    ASSERT_EQ(responder.Requests().size(), 4u);
    EXPECT_EQ(responder.Requests()[3].type, mtError);
    EXPECT_EQ(responder.Requests()[3].text, "The help page cannot be opened.");
}

// Pages by language (French reads the English ones), topics through the topic table and,
// without an entry, through the program's fallback.
TEST_F(MessageBoxTest, HelpTopicsFindTheirPagesByLanguage)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Ctx().ProgramFolder = dir.path() + u'/';
    auto write = [&dir](const QString& name, const QByteArray& text) {
        QDir().mkpath(QFileInfo(dir.path() + name).absolutePath());
        QFile f(dir.path() + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    };
    for (const char* name : {"/help/de/gates.html", "/help/en/gates.html", "/help/de/index.html",
                             "/help/de/group-logic.html"})
        write(QString::fromLatin1(name), "<html></html>");
    write(QStringLiteral("/help/topics.ini"), "[Topics]\r\n18235=gates\r\n18999=missing\r\n");
    std::vector<QString> opened;
    SetUrlOpenerForTesting([&](const QUrl& url) {
        opened.push_back(url.toLocalFile().mid(dir.path().size()));
        return true;
    });
    std::vector<int> asked;
    SetHelpTopicFallback([&asked](int context) {
        asked.push_back(context);
        return context == 27000 ? QStringLiteral("group-logic") : QString();
    });
    TScopedMessageResponder responder;

    const struct {
        uint8_t language;
        int topic;
        const char* page;  // nullptr: the "no page" message
    } cases[] = {
        {0, 18235, "/help/de/gates.html"},
        {1, 18235, "/help/en/gates.html"},
        {2, 18235, "/help/en/gates.html"},
        {1, 27000, "/help/de/group-logic.html"},  // no English page: the German one
        {0, 18999, nullptr},                      // the table names a page that is not there
        {0, 4711, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.topic);
        Ctx().CurrentLanguage = c.language;
        opened.clear();
        const size_t messages = responder.Requests().size();
        OpenHelpTopic(c.topic);
        if (c.page) {
            ASSERT_EQ(opened.size(), 1u);
            EXPECT_EQ(opened[0], QString::fromLatin1(c.page));
        } else {
            EXPECT_TRUE(opened.empty());
            EXPECT_EQ(responder.Requests().size(), messages + 1);
        }
    }
    EXPECT_EQ(asked, (std::vector<int>{27000, 18999, 4711})) << "the table comes first";
    Ctx().CurrentLanguage = 1;
    opened.clear();
    OpenHelpContents();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QStringLiteral("/help/de/index.html"));
    SetHelpTopicFallback({});
}

} // namespace
