// The command line and the compiled-program test by the executable's name.
#include "shell/mainwindow/MainWindow.h"

#include <gtest/gtest.h>

TEST(MainWindowCommandLine, JoinsParametersAndFindsRun)
{
    struct Case {
        QStringList args;
        const char* project;
        bool run;
    };
    const Case cases[] = {
        {{}, "", false},
        {{"demo.prj"}, "demo.prj", false},
        // Blanks in a name split it into parameters; they are joined by single blanks.
        {{"My", "Project.PRJ"}, "My Project.PRJ", false},
        {{"a", "b", "/run"}, "a b", true},
        {{"a", "b", "/RuN"}, "a b", true},
        // Joining stops at the first empty parameter.
        {{"a", "", "b", "/RUN"}, "a", false},
        // Only the first " /RUN" goes; the rest keeps its case.
        {{"Proj.PRJ", "/Run", "/RUN"}, "Proj.PRJ /RUN", true},
        {{"Ordner/Mein Projekt.prj /RUN"}, "Ordner/Mein Projekt.prj", true},
        // Without a blank before it, "/RUN" is part of the name.
        {{"/RUN"}, "/RUN", false},
    };
    for (const Case& c : cases) {
        const TCommandLine line = ParseCommandLine(c.args);
        EXPECT_EQ(line.ProjectName, QString::fromUtf8(c.project)) << c.args.join(u'|').toStdString();
        EXPECT_EQ(line.RunRequested, c.run) << c.args.join(u'|').toStdString();
    }
}

TEST(MainWindowCommandLine, CompiledModeByExecutableName)
{
    struct Case {
        const char* exe;
        bool compiled;
    };
    const Case cases[] = {
        {"tavrinol40", false},
        {"/opt/tavrinol/tavrinol40", false},
        {"/opt/tavrinol/TAVRINOL40", false},
        {"/home/u/Tavrinol40", false},
        {"/home/u/tavrinol40/Messplatz", true},
        {"/home/u/Messplatz", true},
        {"tavrinol40.bak", true},
        {"tavrinol4", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsCompiledProgramName(QString::fromUtf8(c.exe)), c.compiled) << c.exe;
}

TEST(MainWindowCommandLine, BoardPaletteByScreenDepth)
{
    const QVector<QColor> deep = MakeBoardPalette(24);
    ASSERT_EQ(deep.size(), 4);
    EXPECT_EQ(deep[0], QColor(230, 240, 248));
    EXPECT_EQ(deep[1], QColor(255, 255, 246));
    EXPECT_EQ(deep[2], QColor(230, 230, 230));
    EXPECT_EQ(deep[3], QColor(220, 220, 250));
    EXPECT_EQ(MakeBoardPalette(8)[3], QColor(220, 220, 250));
    for (const QColor& c : MakeBoardPalette(4))
        EXPECT_EQ(c, QColor(255, 255, 255));
}
