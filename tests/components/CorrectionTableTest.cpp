// The correction table: interpolation inside and outside the table, the point list and its
// refusal of unusable tables, the text import, the record and the table editor.
#include "ComponentTestSupport.h"
#include "components/analog/CorrectionTable.h"
#include "components/analog/RegisterAnalog.h"
#include "core/model/ClassRegistry.h"
#include "core/model/Translator.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

namespace {

using TPoints = std::vector<std::pair<double, double>>;

TPoints Points(const TKorrekturwerte& list)
{
    TPoints points;
    for (int i = 0; i < list.Count(); ++i)
        points.emplace_back(static_cast<double>(list.Point(i).Input),
                            static_cast<double>(list.Point(i).Output));
    return points;
}

TKorrekturwerte Table(std::initializer_list<std::pair<double, double>> points)
{
    TKorrekturwerte built;
    QStringList lines;
    for (const auto& p : points)
        lines << QString::number(p.first, 'g', 17) + u';' + QString::number(p.second, 'g', 17);
    built.ImportLines(lines);
    return built;
}

// A stored table: the count, then input and output of each point.
QByteArray TablePart(int32_t count, const TPoints& points)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    TWriter w(buffer);
    w.WriteInteger(count);
    for (const auto& p : points) {
        w.WriteFloat(p.first);
        w.WriteFloat(p.second);
    }
    return data;
}

const TPoints kDefault = {{0, 0}, {1, 1}};

class CorrectionTableTest : public TComponentTest<RegisterSignalComponents, true> {};

TEST_F(CorrectionTableTest, ClassHasItsPinsTextsAndDesignator)
{
    const char* prefixes[] = {"KT", "CT", "TC"};
    const char* names[] = {"Korrekturtabelle", "Correction table", "Table de\rcorrection"};
    for (uint8_t language = 0; language < 3; ++language) {
        SCOPED_TRACE(int(language));
        Ctx().CurrentLanguage = language;
        auto item = registry.CreateBoardItem(QStringLiteral("TBTKorrekturtabelle"));
        auto& c = dynamic_cast<TBTKorrekturtabelle&>(*item);
        ASSERT_EQ(c.Inputs.size(), 1u);
        EXPECT_EQ(c.Inputs[0]->Name(), QStringLiteral("E"));
        ASSERT_EQ(c.Outputs.size(), 1u);
        EXPECT_EQ(c.Outputs[0]->Name(), QStringLiteral("A"));
        EXPECT_EQ(c.Prefix(), QString::fromLatin1(prefixes[language]));
        EXPECT_EQ(c.GetTypeName(), QString::fromUtf8(names[language]));
        EXPECT_EQ(c.HelpContext, 18410);
        EXPECT_TRUE(c.Editable);
        EXPECT_EQ(Points(c.Werte), kDefault);
    }
}

TEST_F(CorrectionTableTest, InterpolatesInsideAndExtrapolatesOutside)
{
    struct TCase {
        const char* name;
        TKorrekturwerte table;
        std::vector<std::pair<double, double>> xy;
    } const cases[] = {
        {"default table passes the input", TKorrekturwerte(),
         {{-7.5, -7.5}, {0, 0}, {0.25, 0.25}, {1, 1}, {42, 42}}},
        {"peak",
         Table({{0, 0}, {2, 4}, {4, 0}}),
         {{-1, -2}, {0, 0}, {1, 2}, {2, 4}, {3, 2}, {4, 0}, {6, -4}}},
        {"uneven steps",
         Table({{-10, 100}, {0, 0}, {1, 10}, {5, 10}, {6, 0}}),
         {{-20, 200}, {-10, 100}, {-5, 50}, {0.5, 5}, {1, 10}, {3, 10}, {5, 10}, {5.5, 5},
          {6, 0}, {8, -20}}},
        {"two points", Table({{2, 1}, {4, 5}}), {{0, -3}, {3, 3}, {4, 5}, {10, 17}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& [x, y] : c.xy) {
            SCOPED_TRACE(x);
            EXPECT_DOUBLE_EQ(static_cast<double>(c.table.Interpolate(x)), y);
        }
    }
    // The component maps its input at every step; a reset sets the output to 0.
    auto kt = NewObject<TBTKorrekturtabelle>();
    kt->Werte.Assign(Table({{0, 0}, {2, 4}, {4, 0}}));
    TBauteilPin source;
    source.Value = 3.0;
    kt->Inputs[0]->SetSource(&source);
    kt->Calculate();
    EXPECT_EQ(kt->Outputs[0]->Value, 2.0L);
    kt->SimReset();
    EXPECT_EQ(kt->Outputs[0]->Value, 0.0L);
}

TEST_F(CorrectionTableTest, PointListStaysSortedAndRefusesUnusablePoints)
{
    TKorrekturwerte list;
    EXPECT_TRUE(list.AddPoint(5, 50));
    EXPECT_TRUE(list.AddPoint(-2, 20));
    EXPECT_TRUE(list.AddPoint(0.5, 5));
    EXPECT_EQ(Points(list), (TPoints{{-2, 20}, {0, 0}, {0.5, 5}, {1, 1}, {5, 50}}));
    // A second point of one input would make the line between them undefined.
    EXPECT_FALSE(list.AddPoint(1, 7));
    EXPECT_FALSE(list.AddPoint(std::nan(""), 7));
    EXPECT_FALSE(list.AddPoint(INFINITY, 7));
    EXPECT_EQ(list.Count(), 5);

    // SetPoint replaces in place without re-sorting; indexes outside are ignored.
    EXPECT_TRUE(list.SetPoint(1, 3, 30));
    EXPECT_EQ(Points(list), (TPoints{{-2, 20}, {3, 30}, {0.5, 5}, {1, 1}, {5, 50}}));
    EXPECT_TRUE(list.SetPoint(1, 3, 31));  // its own input again
    EXPECT_FALSE(list.SetPoint(1, 5, 0));  // another point's input
    EXPECT_FALSE(list.SetPoint(-1, 9, 9));
    EXPECT_FALSE(list.SetPoint(5, 9, 9));
    list.Sort();
    EXPECT_EQ(Points(list), (TPoints{{-2, 20}, {0.5, 5}, {1, 1}, {3, 31}, {5, 50}}));

    struct TFind {
        double x;
        int index;
    } const finds[] = {{-5, 0}, {-2, 0}, {0, 1}, {1, 2}, {4, 4}, {5, 4}, {99, 4}};
    for (const TFind& f : finds)
        EXPECT_EQ(list.FindIndex(f.x), f.index) << f.x;

    // Deleting stops at two points.
    EXPECT_FALSE(list.DeletePoint(5));
    EXPECT_FALSE(list.DeletePoint(-1));
    EXPECT_TRUE(list.DeletePoint(0));
    EXPECT_TRUE(list.DeletePoint(0));
    EXPECT_TRUE(list.DeletePoint(2));
    EXPECT_FALSE(list.DeletePoint(0));
    EXPECT_EQ(Points(list), (TPoints{{1, 1}, {3, 31}}));

    // Assign copies point by point, so the copy is sorted.
    TKorrekturwerte unsorted;
    unsorted.SetPoint(0, 7, 70);
    TKorrekturwerte copy;
    copy.Assign(unsorted);
    EXPECT_EQ(Points(copy), (TPoints{{1, 1}, {7, 70}}));
    copy.Reset();
    EXPECT_EQ(Points(copy), kDefault);
}

TEST_F(CorrectionTableTest, ImportReadsLinesAndKeepsTwoDistinctPoints)
{
    const QString longTail = QString(1000, u'0') + u'5';
    struct TCase {
        const char* name;
        QStringList lines;
        TPoints points;
    } const cases[] = {
        {"empty", {}, kDefault},
        {"one line", {"5;7"}, {{1, 1}, {5, 7}}},
        {"one line at input 1", {"1;3"}, {{0, 0}, {1, 3}}},
        {"one line at input 0", {"0;3"}, {{0, 3}, {1, 1}}},
        {"sorted on reading", {"3;30", "1;10", "2;20"}, {{1, 10}, {2, 20}, {3, 30}}},
        {"equal inputs keep the first", {"1;2", "2;4", "1;3", "2;5"}, {{1, 2}, {2, 4}}},
        {"decimal comma and blanks", {" 0,5 ; -1,5", "2.5;1e1"}, {{0.5, -1.5}, {2.5, 10}}},
        {"line without a separator is an output at input 0", {"4", "2;8"}, {{0, 4}, {2, 8}}},
        {"output text cut at 1000 characters", {"1;" + longTail, "2;2"}, {{1, 0}, {2, 2}}},
        {"split at the first separator", {"1;2;3", "3;4"}, {{1, 2}, {3, 4}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TKorrekturwerte list;
        list.AddPoint(9, 9);  // replaced by the import
        list.ImportLines(c.lines);
        EXPECT_EQ(Points(list), c.points);
    }
}

TEST_F(CorrectionTableTest, RecordRoundTripsAndUnusableTablesBecomeTheDefault)
{
    auto kt = NewObject<TBTKorrekturtabelle>();
    kt->Werte.Assign(Table({{-1, 3}, {0.25, -2}, {10, 1e6}}));
    kt->X = 200;
    kt->Y = 300;
    kt->RunTimeAdjustable = true;
    kt->SetLabel(QStringLiteral("Label"));
    const QByteArray data = Write(*kt);
    EXPECT_EQ(data, ComponentPart(1, 1, 44, true) + TablePart(3, {{-1, 3}, {0.25, -2}, {10, 1e6}}));
    for (uint8_t version : {uint8_t(44), uint8_t(40), uint8_t(3), uint8_t(2)}) {
        SCOPED_TRACE(int(version));
        auto copy = NewObject<TBTKorrekturtabelle>();
        EXPECT_TRUE(Read(*copy, ComponentPart(1, 1, version, true)
                                    + TablePart(3, {{10, 1e6}, {-1, 3}, {0.25, -2}}),
                         version));
        EXPECT_EQ(Points(copy->Werte), Points(kt->Werte));  // sorted on reading
        EXPECT_EQ(copy->X, 200);
        if (version >= 40) {
            EXPECT_EQ(Write(*copy), data);
        }
    }

    struct TCase {
        const char* name;
        QByteArray table;
        TPoints points;
    } const cases[] = {
        {"no points", TablePart(0, {}), kDefault},
        {"one point", TablePart(1, {{4, 2}}), kDefault},
        {"two points of one input", TablePart(2, {{4, 2}, {4, 3}}), kDefault},
        {"a repeated input keeps the first",
         TablePart(3, {{1, 5}, {1, 6}, {2, 7}}), (TPoints{{1, 5}, {2, 7}})},
        {"a point without a number as input is dropped",
         TablePart(3, {{std::nan(""), 5}, {1, 6}, {2, 7}}), (TPoints{{1, 6}, {2, 7}})},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto copy = NewObject<TBTKorrekturtabelle>();
        copy->Werte.AddPoint(5, 5);
        EXPECT_TRUE(Read(*copy, ComponentPart(1, 1, 44, true) + c.table));
        EXPECT_EQ(Points(copy->Werte), c.points);
        TBauteilPin source;
        source.Value = 1.5;
        copy->Inputs[0]->SetSource(&source);
        copy->Calculate();
        EXPECT_TRUE(std::isfinite(static_cast<double>(copy->Outputs[0]->Value)));
    }

    // Counts that the stream cannot hold are refused with a readable error.
    for (int32_t count : {-1, 1000000}) {
        SCOPED_TRACE(count);
        auto copy = NewObject<TBTKorrekturtabelle>();
        try {
            Read(*copy, ComponentPart(1, 1, 44, true) + TablePart(count, {{1, 1}, {2, 2}}));
            ADD_FAILURE() << "no error";
        } catch (const EFilerError& e) {
            EXPECT_EQ(e.kind(), EFilerError::InvalidData);
        }
    }
    // A stream that ends inside the table is a read error, not a crash.
    auto copy = NewObject<TBTKorrekturtabelle>();
    EXPECT_THROW(Read(*copy, (ComponentPart(1, 1, 44, true) + TablePart(2, {{1, 1}, {2, 2}})).chopped(3)),
                 EFilerError);
}

// --- The table editor ------------------------------------------------------------------------

class CorrectionTableDialogTest : public CorrectionTableTest {
protected:
    void SetUp() override
    {
        CorrectionTableTest::SetUp();
        Ctx().CurrentLanguage = 1;
        kt = NewObject<TBTKorrekturtabelle>();
        kt->Werte.Assign(Table({{0, 0}, {2, 4}, {4, 0}}));
    }

    // Shows the editor and hands it to the test; the test's result closes it.
    int Edit(std::function<int(TKorrekturtabelleDlg&)> body)
    {
        responder.Answer([body](QDialog& d) {
            auto* dlg = dynamic_cast<TKorrekturtabelleDlg*>(&d);
            EXPECT_NE(dlg, nullptr);
            return dlg ? body(*dlg) : int(mrCancel);
        });
        return kt->EditProperties();
    }
    static QStringList Row(const TKorrekturtabelleDlg& d, int row)
    {
        return {d.Grid->item(row - 1, 0)->text(), d.Grid->item(row - 1, 1)->text()};
    }

    std::unique_ptr<TBTKorrekturtabelle> kt;
    TScopedDialogResponder responder;
    TScopedMessageResponder messages;
};

TEST_F(CorrectionTableDialogTest, ShowsThePointsAndTakesThemBackOnOk)
{
    kt->SetLabel(QStringLiteral("My table"));
    const int result = Edit([](TKorrekturtabelleDlg& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("My table"));
        EXPECT_EQ(d.Grid->horizontalHeaderItem(0)->text(), QStringLiteral("Input"));
        EXPECT_EQ(d.Grid->horizontalHeaderItem(1)->text(), QStringLiteral("Output"));
        EXPECT_EQ(d.Grid->rowCount(), 3);
        EXPECT_EQ(Row(d, 2), (QStringList{"2", "4"}));
        // Shown with E_Edit at "0": the first row is selected and copied into the edits.
        EXPECT_EQ(d.SelectedRow(), 1);
        EXPECT_EQ(d.A_Edit->text(), QStringLiteral("0"));
        EXPECT_FALSE(d.AddBtn->isEnabled());
        EXPECT_FALSE(d.ChangeBtn->isEnabled());
        EXPECT_TRUE(d.DeleteBtn->isEnabled());
        EXPECT_TRUE(d.cb_RuntimeEdit->isVisibleTo(&d));

        // Typing an input selects its row without copying it.
        d.E_Edit->setText(QStringLiteral("3"));
        EXPECT_EQ(d.SelectedRow(), 3);
        EXPECT_EQ(d.A_Edit->text(), QStringLiteral("0"));
        EXPECT_TRUE(d.AddBtn->isEnabled());
        d.A_Edit->setText(QStringLiteral("1"));
        d.AddBtn->click();
        EXPECT_EQ(d.Grid->rowCount(), 4);
        EXPECT_EQ(Row(d, 3), (QStringList{"3", "1"}));
        EXPECT_EQ(d.SelectedRow(), 3);

        // Change the selected point's output.
        d.A_Edit->setText(QStringLiteral("2"));
        EXPECT_TRUE(d.ChangeBtn->isEnabled());
        EXPECT_FALSE(d.AddBtn->isEnabled());
        d.ChangeBtn->click();
        EXPECT_EQ(Row(d, 3), (QStringList{"3", "2"}));

        // A click on a row copies its point.
        d.Grid->setCurrentCell(0, 1);
        EXPECT_EQ(d.E_Edit->text(), QStringLiteral("0"));
        d.cb_RuntimeEdit->setChecked(true);
        return int(mrOk);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(Points(kt->Werte), (TPoints{{0, 0}, {2, 4}, {3, 2}, {4, 0}}));
    EXPECT_TRUE(kt->RunTimeAdjustable);
    EXPECT_TRUE(messages.Requests().empty());

    // Cancel keeps the component's table and option.
    EXPECT_EQ(Edit([](TKorrekturtabelleDlg& d) {
                  d.Werte.Reset();
                  d.cb_RuntimeEdit->setChecked(false);
                  return int(mrCancel);
              }),
              mrCancel);
    EXPECT_EQ(kt->Werte.Count(), 4);
    EXPECT_TRUE(kt->RunTimeAdjustable);

    // During a run the option is hidden.
    Ctx().SimRunning = true;
    Edit([](TKorrekturtabelleDlg& d) {
        EXPECT_FALSE(d.cb_RuntimeEdit->isVisibleTo(&d));
        return int(mrCancel);
    });
}

TEST_F(CorrectionTableDialogTest, RefusesASecondPointOfOneInputAndKeepsTwoPoints)
{
    Edit([this](TKorrekturtabelleDlg& d) {
        // Typing an existing input selects its point, so Add is off and Change edits that
        // point; an add forced all the same is refused with a message.
        d.E_Edit->setText(QStringLiteral("2"));
        d.A_Edit->setText(QStringLiteral("9"));
        EXPECT_EQ(d.SelectedRow(), 2);
        EXPECT_FALSE(d.AddBtn->isEnabled());
        d.AddBtnClick();
        EXPECT_EQ(messages.Requests().size(), 1u);
        if (!messages.Requests().empty()) {
            EXPECT_EQ(messages.Requests()[0].text,
                      QStringLiteral("There is already a correction value with this input value."));
        }
        EXPECT_EQ(Points(d.Werte), (TPoints{{0, 0}, {2, 4}, {4, 0}}));

        // Delete down to two points; then both delete buttons are off.
        d.Grid->setCurrentCell(1, 0);
        d.DeleteBtn->click();
        EXPECT_EQ(d.Werte.Count(), 2);
        EXPECT_FALSE(d.DeleteBtn->isEnabled());
        EXPECT_FALSE(d.DeleteAllBtn->isEnabled());
        d.DeleteBtnClick();  // refused even when called
        EXPECT_EQ(d.Werte.Count(), 2);
        return int(mrOk);
    });
    EXPECT_EQ(Points(kt->Werte), (TPoints{{0, 0}, {4, 0}}));
}

TEST_F(CorrectionTableDialogTest, DeleteAllAsksFirst)
{
    Edit([this](TKorrekturtabelleDlg& d) {
        messages.Answer(mrNo);
        d.DeleteAllBtn->click();
        EXPECT_EQ(d.Werte.Count(), 3);
        EXPECT_EQ(messages.Requests().size(), 1u);
        if (!messages.Requests().empty()) {
            EXPECT_EQ(messages.Requests()[0].text,
                      QStringLiteral("Clear list of correction values?"));
            EXPECT_EQ(messages.Requests()[0].buttons, mbYesNo);
        }
        messages.Answer(mrYes);
        d.DeleteAllBtn->click();
        EXPECT_EQ(Points(d.Werte), kDefault);
        EXPECT_EQ(d.Grid->rowCount(), 2);
        return int(mrOk);
    });
    EXPECT_EQ(Points(kt->Werte), kDefault);
}

TEST_F(CorrectionTableDialogTest, ImportsAChosenTextFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("points.csv"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("10;1\r\n-5;2\r\n10;3\n0,5;4\r\n");
    }
    const QString empty = dir.filePath(QStringLiteral("empty.txt"));
    {
        QFile f(empty);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    Edit([&](TKorrekturtabelleDlg& d) {
        responder.Answer([&](QDialog& fd) {
            auto* files = qobject_cast<QFileDialog*>(&fd);
            EXPECT_NE(files, nullptr);
            if (!files)
                return int(mrCancel);
            EXPECT_EQ(files->nameFilters(),
                      (QStringList{"Text (*.txt)", "CSV (*.csv)"}));
            EXPECT_EQ(files->fileMode(), QFileDialog::ExistingFile);
            files->selectFile(path);
            return int(mrOk);
        });
        d.ImportBtn->click();
        EXPECT_EQ(Points(d.Werte), (TPoints{{-5, 2}, {0.5, 4}, {10, 1}}));
        EXPECT_EQ(d.Grid->rowCount(), 3);

        // Cancelling the file dialog changes nothing.
        responder.AnswerResult(mrCancel);
        d.ImportBtnClick();
        EXPECT_EQ(d.Werte.Count(), 3);

        // A file that cannot be read leaves the table and says so.
        EXPECT_FALSE(d.ImportFile(dir.filePath(QStringLiteral("missing.txt"))));
        EXPECT_EQ(d.Werte.Count(), 3);
        EXPECT_EQ(messages.Requests().size(), 1u);

        // An empty file gives the default table.
        EXPECT_TRUE(d.ImportFile(empty));
        EXPECT_EQ(Points(d.Werte), kDefault);
        EXPECT_TRUE(d.ImportFile(path));
        return int(mrOk);
    });
    EXPECT_EQ(Points(kt->Werte), (TPoints{{-5, 2}, {0.5, 4}, {10, 1}}));
}

} // namespace
