// The user-library component against the example library the project builds, and against
// libraries of the test's own: pins, calls and their order, texts, user values in the record,
// and libraries that fail to load or lack entry points.
#include "TextTestSupport.h"
#include "components/ComponentTestSupport.h"
#include "components/file/RegisterFile.h"
#include "components/file/UserLibrary.h"
#include "components/file/UserLibraryDlg.h"
#include "platform/DynamicLibrary.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <cstring>
#include <map>

namespace {

class UserLibraryTest : public TComponentTest<RegisterFileComponents, true> {
protected:
    void TearDown() override
    {
        SetLibraryLoader({});
        TComponentTest::TearDown();
    }
};

// A library made of the test's functions, by entry-point name.
class TFakeLibrary : public TDynamicLibrary {
public:
    explicit TFakeLibrary(std::map<std::string, void*> symbols) : m_symbols(std::move(symbols)) {}
    void* Symbol(const char* name) const override
    {
        const auto it = m_symbols.find(name);
        return it == m_symbols.end() ? nullptr : it->second;
    }

private:
    std::map<std::string, void*> m_symbols;
};

void UseFake(std::map<std::string, void*> symbols)
{
    SetLibraryLoader([symbols](const QString&, QString*) {
        return std::make_unique<TFakeLibrary>(symbols);
    });
}

template <class F>
void* Fn(F f)
{
    return reinterpret_cast<void*>(f);
}

TEST_F(UserLibraryTest, ExampleLibraryAddsAndWritesText)
{
    auto dll = Create<TBTDLL>();
    dll->SetNumber(3);
    ASSERT_TRUE(dll->Load(QStringLiteral(EXAMPLE_LIBRARY))) << qPrintable(dll->Library.Error());
    EXPECT_EQ(PinNames(dll->Inputs), QStringList({"A", "B"}));
    EXPECT_EQ(PinNames(dll->Outputs), QStringList({"$TXT", "SUM"}));  // "SUM" on top
    TTextInputs in(*dll);
    in.SetAll({"n:1.25", "-"});  // an open input arrives as 5.0
    dll->SimReset();
    dll->Calculate();
    dll->Calculate();
    EXPECT_EQ(OutputsFromTop(*dll), QStringList({"6.25", "step 2 of DLL3"}));
    EXPECT_EQ(dll->ExtUser[0], 2.0L);  // kept from the standard call
    // A second component of the same library sees its own number.
    auto other = Create<TBTDLL>();
    other->SetNumber(4);
    ASSERT_TRUE(other->Load(QStringLiteral(EXAMPLE_LIBRARY)));
    other->SimReset();
    other->Calculate();
    EXPECT_EQ(OutFromTop(*other, 1), QStringLiteral("step 1 of DLL4"));
}

TEST_F(UserLibraryTest, AFailedLoadLeavesNoPinsAndSaysWhy)
{
    auto dll = Create<TBTDLL>();
    EXPECT_FALSE(dll->Load(QStringLiteral("/nonexistent/libnothing.so")));
    EXPECT_EQ(dll->InputCount, 0);
    EXPECT_EQ(dll->OutputCount, 0);
    EXPECT_TRUE(dll->Library.Error().contains(QStringLiteral("libnothing.so")));
    dll->SimReset();
    dll->Calculate();  // nothing to call, no fault
    dll->SimEnd();

    // Chosen in the dialog: the dialog lists the reason, OK reports it in a message.
    TScopedDialogResponder dialogs;
    QString listed;
    dialogs.Answer([&](QDialog& d) {
        auto& dlg = static_cast<TDLLDlg&>(d);
        listed = dlg.Functions->toPlainText();
        return int(mrOk);
    });
    QStringList messages;
    SetMessageResponder([&](const TMessageRequest& r) {
        messages << r.text;
        return int(mrOk);
    });
    dll->LibraryFile = QStringLiteral("/nonexistent/libnothing.so");
    dll->EditProperties();
    SetMessageResponder({});
    EXPECT_TRUE(listed.startsWith(QStringLiteral("Die Bibliothek kann nicht geladen werden")));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], dll->Library.Error());
}

uint8_t Three()
{
    return 3;
}
uint8_t FiveEx(long double*)
{
    return 5;
}
uint8_t Many(void)
{
    return 200;
}
void LongName(int32_t channel, char* name)
{
    // A length-prefixed name of 12 characters.
    const char text[] = "\x0c" "ChannelNameX";
    memcpy(name, text, sizeof text);
    name[12] = char('0' + channel);
}
void BigText(long double*, long double* out, long double*, char** texts)
{
    out[0] = 1.0L;
    memset(texts[0], 'x', 1000);  // a full buffer: the terminator stays the component's
    texts[0][1000] = 0;
}
std::vector<std::string> g_calls;
void ExtCalc(long double*, long double* out, long double* user)
{
    g_calls.push_back("Calculate");
    out[0] = 1.0L;
    user[5] = 7.0L;
}
void DblCalc(double* in, double* out, double* user)
{
    g_calls.push_back("CCalculate");
    out[0] = in[0] + user[5];
}

TEST_F(UserLibraryTest, PinCountsAndNamesFromTheLibrary)
{
    UseFake({{"NumInputs", Fn(&Three)}, {"_NumInputsEx", Fn(&FiveEx)}, {"NumOutputs", Fn(&Many)},
             {"InputName", Fn(&LongName)}});
    auto dll = Create<TBTDLL>();
    ASSERT_TRUE(dll->Load(QStringLiteral("fake")));
    EXPECT_EQ(dll->InputCount, 5);     // the later count wins, found under "_" too
    EXPECT_EQ(dll->OutputCount, 101);  // no more than the arrays hold
    EXPECT_EQ(dll->Inputs[4]->Name(), QStringLiteral("ChannelNam"));
    EXPECT_EQ(dll->Outputs[0]->Name(), QStringLiteral("A0"));  // no name functions
}

TEST_F(UserLibraryTest, BothCalculationsRunInOrderAndTheStandardOneWins)
{
    UseFake({{"NumInputs", Fn(&Three)}, {"NumOutputs", Fn(&Three)}, {"Calculate", Fn(&ExtCalc)},
             {"CCalculate", Fn(&DblCalc)}});
    auto dll = Create<TBTDLL>();
    ASSERT_TRUE(dll->Load(QStringLiteral("fake")));
    TTextInputs in(*dll);
    in.SetAll({"n:2", "n:0", "n:0"});
    g_calls.clear();
    dll->SimReset();
    dll->Calculate();
    EXPECT_EQ(g_calls, std::vector<std::string>({"Calculate", "CCalculate"}));
    EXPECT_EQ(OutFromTop(*dll, 0), QStringLiteral("9"));  // 2 + the user value set before
}

TEST_F(UserLibraryTest, TextsAreCutToTheirBuffers)
{
    UseFake({{"NumInputs", Fn(&Three)}, {"NumOutputs", Fn(&Three)},
             {"CalculateEx", Fn(&BigText)}});
    auto dll = Create<TBTDLL>();
    ASSERT_TRUE(dll->Load(QStringLiteral("fake")));
    TTextInputs in(*dll);
    in.SetAll({"t:short", "t:" + QString(3000, QLatin1Char('y')), "t:third"});
    dll->SimReset();
    dll->Calculate();
    auto text = [&](int k) { return dll->Outputs[size_t(2 - k)]->GetPinText(); };  // from the top
    EXPECT_EQ(text(0), QString(1000, QLatin1Char('x')));
    EXPECT_EQ(text(1), QString(1000, QLatin1Char('y')));  // the input's text, cut
    EXPECT_EQ(text(2), QStringLiteral("third"));
}

TEST_F(UserLibraryTest, MissingEntryPointsAreSkippedAndNoneAtAllIsRefused)
{
    UseFake({{"NumOutputs", Fn(&Three)}});
    auto dll = Create<TBTDLL>();
    ASSERT_TRUE(dll->Load(QStringLiteral("fake")));
    EXPECT_EQ(dll->InputCount, 0);
    dll->SimReset();
    dll->Calculate();
    dll->SimEnd();
    UseFake({});
    EXPECT_FALSE(dll->Load(QStringLiteral("fake")));
    EXPECT_FALSE(dll->Library.Error().isEmpty());
    EXPECT_EQ(dll->OutputCount, 0);
}

TEST_F(UserLibraryTest, UserValuesSurviveTheRecord)
{
    auto dll = Create<TBTDLL>();
    ASSERT_TRUE(dll->Load(QStringLiteral(EXAMPLE_LIBRARY)));
    dll->ExtUser[7] = 1.5L;
    dll->ExtUser[1] = 4.0L;
    auto copy = Create<TBTDLL>();
    ASSERT_TRUE(Read(*copy, Write(*dll)));
    EXPECT_EQ(copy->LibraryFile, dll->LibraryFile);
    EXPECT_EQ(copy->ExtUser[7], 1.5L);
    EXPECT_EQ(copy->DblUser[7], 1.5);
    EXPECT_EQ(copy->InputCount, 2);
    // A record of data version 4 ends after the file name; the user values stay as the
    // library's initialisation set them.
    dll->DataVersion = 4;
    QByteArray old = Write(*dll);
    old.chop(101 * 11);  // the extended values, tag and 10 bytes each
    auto older = Create<TBTDLL>();
    older->ExtUser[7] = 3.0L;
    ASSERT_TRUE(Read(*older, old));
    EXPECT_EQ(older->ExtUser[7], 3.0L);
    EXPECT_EQ(older->DataVersion, 5);
}

TEST_F(UserLibraryTest, DialogListsTheExportsAndConfigures)
{
    Ctx().CurrentLanguage = 1;
    auto dll = Create<TBTDLL>();
    dll->LibraryFile = QStringLiteral(EXAMPLE_LIBRARY);
    TDLLDlg dlg(*dll);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("DLL import"));
    EXPECT_EQ(dlg.Functions->toPlainText(),
              QStringLiteral("NumInputs = 2\nNumOutputs = 2\nGetInputName\nGetOutputName\n"
                             "SimStart\nCCalculateEx\nConfigure"));
    ASSERT_TRUE(dlg.ConfigureBtn->isEnabled());
    dlg.ConfigureBtn->click();
    EXPECT_EQ(dll->ExtUser[1], 1.0L);
    dlg.FileName.clear();
    dlg.Refresh();
    EXPECT_EQ(dlg.FileLabel->text(), QStringLiteral("No DLL file loaded."));
    EXPECT_EQ(dlg.Functions->toPlainText(), QStringLiteral("No functions imported."));
    EXPECT_FALSE(dlg.ConfigureBtn->isEnabled());
}

} // namespace
