#pragma once
// A main window made in a private program folder: settings files are written there before the
// window is made; the executable's name decides editor or compiled-program mode.

#include "core/board/BoardHooks.h"
#include "core/board/Platine.h"
#include "shell/mainwindow/MainWindow.h"
#include "frontpanel/FP_Element.h"
#include "platform/Context.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <functional>
#include <memory>

// Components come to a board as placing pastes them: `build` fills a scratch board, whose whole
// circuit is copied and pasted onto `board` as a circuit stream of format version 44.
inline void PasteAsPlaced(TPlatine& board, const std::function<void(TPlatine&)>& build)
{
    TPlatine scratch;
    QBuffer stream;
    scratch.ClipboardStream = &stream;
    build(scratch);
    scratch.SelectAll(true);
    scratch.CopySelection();
    board.PasteFromStream(stream, 44);
}

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetContext();
        ResetFrontPanelState();
        ASSERT_TRUE(dir.isValid());
        Ctx().ProgramFolder = dir.path() + u'/';
    }
    void TearDown() override
    {
        form.reset();
        ShowComponentHints = false;  // the first show sets it from the settings
        ResetBoardHooks();
        ResetFrontPanelState();
        ResetContext();
    }
    // Writes a text file under the program folder (folders made as needed).
    void WriteFile(const QString& relative, const QByteArray& text)
    {
        const QString path = dir.path() + u'/' + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    TForm1& Make(const QStringList& args = {},
                 const QString& exe = QStringLiteral("/usr/local/bin/tavrinol40"))
    {
        form = std::make_unique<TForm1>(TStartupOptions{exe, args});
        return *form;
    }

    QTemporaryDir dir;
    std::unique_ptr<TForm1> form;
};
