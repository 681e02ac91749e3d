#include "shell/tools/CompileCommand.h"

#include "components/signal/Sound.h"
#include "components/timing/Memory.h"
#include "core/board/Makro.h"
#include "core/board/Platine.h"
#include "frontpanel/FrontPanel.h"
#include "hardware/framework/BtHardware.h"
#include "hardware/framework/HardwareSettings.h"
#include "platform/Context.h"
#include "platform/FileIO.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "shell/mainwindow/ProjectFiles.h"
#include "ui/CompileWindow.h"
#include "ui/Formats.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QScopeGuard>

namespace {

QString WithSeparator(QString folder)
{
    if (!folder.isEmpty() && !folder.endsWith(u'/') && !folder.endsWith(u'\\'))
        folder += u'/';
    return folder;
}

QString FileNameOnly(QString name)
{
    name.replace(u'\\', u'/');
    return name.mid(name.lastIndexOf(u'/') + 1);
}

} // namespace

QStringList CompileDataFiles(const TIOBauteil& component)
{
    QStringList files;
    if (const auto* sound = dynamic_cast<const TBTSound*>(&component)) {
        if (!sound->FileName.isEmpty())
            files << sound->FileName;
    } else if (const auto* memory = dynamic_cast<const TBTMemory*>(&component)) {
        if (memory->AutoLoad && !memory->FileName.isEmpty())
            files << memory->FileName;
    } else if (const auto* hardware = dynamic_cast<const TBTHardware*>(&component)) {
        // The maker's files of the device, where they lie in the program folder.
        if (hardware->Interface)
            for (const char* file : hardware->Interface->DeviceDescription().MakerFiles) {
                const QString path = QDir(Ctx().ProgramFolder).filePath(QString::fromLatin1(file));
                if (QFileInfo::exists(path))
                    files << path;
            }
    }
    return files;
}

TCompileCommand::TCompileCommand(TCompiler& window, TProjectFiles& project, TPlatine& mainBoard)
    : ExecutableFile(QCoreApplication::applicationFilePath())
    , ProgramFolder(Ctx().ProgramFolder)
    , m_window(window)
    , m_project(project)
    , m_mainBoard(mainBoard)
{
}

void TCompileCommand::Prepare()
{
    const QString title = m_project.ProjectFileName.isEmpty()
                              ? QString()
                              : QFileInfo(FileNameOnly(m_project.ProjectFileName)).completeBaseName().toUpper();
    m_window.FolderName = QStringLiteral("Compilation_") + title;
    if (Ctx().ProjectFolder.isEmpty())
        Ctx().ProjectFolder = ProgramFolder;
    m_window.CompilePath->setText(
        (WithSeparator(Ctx().ProjectFolder) + m_window.FolderName + u'/').toLower());
    m_window.FileEdit->setText(title.isEmpty() ? QStringLiteral("compilation") : title.toLower());
    // A program of this system carries no extension.
    m_window.Label3->hide();
}

QStringList TCompileCommand::StatusLines() const
{
    QStringList lines;
    for (int i = 0; i < m_window.StatusLines->count(); ++i)
        lines << m_window.StatusLines->item(i)->text();
    return lines;
}

void TCompileCommand::AddLine(const QString& line)
{
    m_window.StatusLines->addItem(line);
    m_window.StatusLines->scrollToBottom();
}

void TCompileCommand::AppendToLine(const QString& text)
{
    const int last = m_window.StatusLines->count() - 1;
    if (last >= 0)
        m_window.StatusLines->item(last)->setText(m_window.StatusLines->item(last)->text() + text);
}

bool TCompileCommand::CompileButtonClick(bool start)
{
    m_window.StatusLines->clear();
    const QString path = m_window.CompilePath->text();
    if (!PrepareTargetFolder(path)) {
        AddLine(path + Lang3Q(" ... *** NICHT ERSTELLT ***", " ... *** NOT CREATED ***",
                              " ... *** NON CREE ***"));
        return false;
    }
    AddLine(path + QStringLiteral(" ... OK"));
    const QString folder = WithSeparator(ResolvePath(path));
    QDir().mkpath(folder + QStringLiteral("Settings"));
    QDir().mkpath(folder + QStringLiteral("Data"));
    const QString program = folder + m_window.FileEdit->text();
    if (!CompileProject(program))
        return false;
    if (start) {
        const bool started = StartProgram ? StartProgram(program)
                                          : QProcess::startDetached(program, {}, folder);
        if (!started)
            MessageDlg(Lang3Q("Das Programm konnte nicht gestartet werden: ",
                              "The program could not be started: ",
                              "Le programme n'a pas pu être lancé : ") +
                           QDir::toNativeSeparators(program),
                       mtError, mbOK);
    }
    return true;
}

bool TCompileCommand::PrepareTargetFolder(const QString& folder)
{
    const QString path = ResolvePath(folder);
    if (QFileInfo(path).isDir()) {
        return MessageBoxText(
                   Lang3Q("Das Zielverzeichnis existiert schon. Darin enthaltene Dateien werden "
                          "überschrieben.\rMöchten Sie das Projekt trotzdem compilieren?",
                          "The destination directory already exists! Existing files will be "
                          "overwritten.\rContinue compilation?",
                          "Le dossier de destination existe déjà ! Les fichiers existants seront "
                          "écrasés.\rContinuer la compilation?"),
                   QStringLiteral("Compiler"), mbYesNo, mtConfirmation) == mrYes;
    }
    if (!QDir().mkpath(path)) {
        MessageBoxText(Lang3Q("Zielverzeichnis konnte nicht angelegt werden.",
                              "Error in creation of destination directory.",
                              "Erreur dans la création du dossier de destination."),
                       Lang3Q("Compiler", "Compiler", "Compilateur"), mbOK, mtError);
        return false;
    }
    return true;
}

bool TCompileCommand::CopyCompileFile(const QString& source, const QString& destination)
{
    AddLine(FileNameOnly(destination).toLower() + QStringLiteral(" ... "));
    // A missing source is told by its line alone; a copy that cannot be written is collected
    // for the closing message. The file that was there before stays whole either way.
    bool ok = QFileInfo(source).isFile();
    if (ok) {
        QString reason;
        ok = EnsureFolderFor(destination, &reason) && CopyWholeFile(source, destination, &reason);
        if (ok) {
            QFile copy(destination);
            if (copy.open(QIODevice::ReadWrite))
                copy.setFileTime(QDateTime::currentDateTime(), QFileDevice::FileModificationTime);
        } else {
            m_failures << CannotWriteText(destination, reason);
        }
    }
    AppendToLine(ok ? QStringLiteral("OK")
                    : Lang3Q("*** FEHLER ***", "*** ERROR ***", "*** ERREUR ***"));
    return ok;
}

bool TCompileCommand::Abort(const QString& error)
{
    AddLine(Lang3Q("Abgebrochen.", "Cancelled.", "Annulé."));
    if (!error.isEmpty())
        MessageDlg(error, mtError, mbOK);
    return false;
}

void TCompileCommand::CopyDataFile(const QString& source, const QString& folder)
{
    const QString resolved = FindDataFile(source);
    const QString name = FileNameOnly(resolved);
    const QString key = name.toLower();
    const QString canonical = QFileInfo(resolved).absoluteFilePath();
    if (const auto it = m_copied.constFind(key); it != m_copied.cend()) {
        if (it.value() == canonical)
            return;  // the same file for a second component
        AddLine(key + QStringLiteral(" ... ") +
                Lang3Q("*** FEHLER ***", "*** ERROR ***", "*** ERREUR ***"));
        m_collisions << QDir::toNativeSeparators(canonical) + QStringLiteral(" <> ") +
                            QDir::toNativeSeparators(it.value());
        return;
    }
    m_copied.insert(key, canonical);
    CopyCompileFile(resolved, folder + name);
}

void TCompileCommand::CopyBoardFiles(TPlatine& board, const QString& folder)
{
    for (const auto& item : board.Items) {
        if (auto* macro = dynamic_cast<TMakro*>(item.get())) {
            if (macro->InnerBoard())
                CopyBoardFiles(*macro->InnerBoard(), folder);
            continue;
        }
        if (const auto* component = dynamic_cast<const TIOBauteil*>(item.get()))
            for (const QString& file : CompileDataFiles(*component))
                CopyDataFile(file, folder);
    }
}

bool TCompileCommand::CompileProject(const QString& program)
{
    const QString folder = WithSeparator(QFileInfo(program).absolutePath());
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto cursor = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    m_copied.clear();
    m_collisions.clear();

    m_failures.clear();

    // Without the program nothing else is of use.
    if (!CopyCompileFile(ExecutableFile, program))
        return Abort(m_failures.isEmpty() ? CannotWriteText(program) : m_failures.join(u'\n'));
    QFile(program).setPermissions(QFile(ExecutableFile).permissions());
    for (const char* name : {"Sprache.ini", "Settings/Colors.dat", "Settings/Speed.ini"}) {
        const QString source = ResolvePath(QString::fromLatin1(name), ProgramFolder);
        if (QFileInfo::exists(source))
            CopyCompileFile(source, folder + QString::fromLatin1(name));
    }

    // The project as "comp.mod"; its name, the caption and the file format come back whatever
    // happens.
    {
        AddLine(QStringLiteral("comp.mod ... "));
        const QString name = m_project.ProjectFileName;
        const bool compiled = m_project.CompiledCopy;
        m_project.CompiledCopy = true;
        const auto restore = qScopeGuard([&] {
            m_project.CompiledCopy = compiled;
            m_project.SetProjectName(name);
        });
        if (!m_project.SaveProject(folder + QStringLiteral("comp.mod"))) {
            AppendToLine(Lang3Q("*** FEHLER ***", "*** ERROR ***", "*** ERREUR ***"));
            return Abort(QString());  // the project files told the user
        }
        AppendToLine(QStringLiteral("OK"));
    }

    CopyBoardFiles(m_mainBoard, folder);
    // A published front panel needs the web-server program beside the copy.
    if (FrontPanel && FrontPanel->PublishMode != 0) {
        const QString server = ResolvePath(QStringLiteral("tvwebserver"), ProgramFolder);
        if (QFileInfo(server).isFile() && CopyCompileFile(server, folder + QStringLiteral("tvwebserver")))
            QFile(folder + QStringLiteral("tvwebserver")).setPermissions(QFile(server).permissions());
    }
    if (FrontPanel) {
        for (const QString& file : {FrontPanel->HelpFile, FrontPanel->IconFile}) {
            const QString source = file.isEmpty() ? QString() : ResolvePath(file);
            if (!source.isEmpty() && QFileInfo(source).isFile())
                CopyDataFile(source, folder);
        }
    }

    {
        AddLine(QStringLiteral("settings/hardware.ini ... "));
        QString error;
        if (!WriteHardwareSettingsFile(m_mainBoard, folder + QStringLiteral("Settings/HARDWARE.INI"),
                                       &error)) {
            AppendToLine(Lang3Q("*** FEHLER ***", "*** ERROR ***", "*** ERREUR ***"));
            return Abort(error);
        }
        AppendToLine(QStringLiteral("OK"));
    }

    if (FrontPanel && FrontPanel->Options.AutoSave) {
        FrontPanel->SetRunMode(true);
        const bool saved = FrontPanel->SaveDefaultSettings(folder + QStringLiteral("comp.mod"));
        FrontPanel->SetRunMode(false);
        if (!saved)
            return Abort(QString());  // the settings file told the user
    }

    AddLine(QString());
    if (!m_failures.isEmpty()) {
        AddLine(Lang3Q("Fertig, mit Fehlern.", "Completed with errors.",
                       "Terminé avec des erreurs."));
        MessageDlg(m_failures.join(u'\n'), mtError, mbOK);
    } else {
        AddLine(Lang3Q("Fertig.", "Completed.", "Terminé."));
    }
    if (!m_collisions.isEmpty())
        MessageDlg(Lang3Q("Mehrere Dateien tragen denselben Namen; im Zielordner ist nur Platz "
                          "für eine davon. Nicht kopiert wurde:\n",
                          "Several files have the same name; the target folder holds only one "
                          "of them. Not copied:\n",
                          "Plusieurs fichiers portent le même nom ; le dossier cible n'en "
                          "contient qu'un. Non copié :\n") +
                       m_collisions.join(u'\n'),
                   mtWarning, mbOK);
    return m_failures.isEmpty();
}

bool WriteHardwareSettingsFile(TPlatine& board, const QString& fileName, QString* error)
{
    // Written anew: what an older file held goes, but only once the new one is whole.
    TIniFile file(fileName);
    for (const QString& section : file.ReadSections())
        file.EraseSection(section);
    int32_t number = 1;
    SaveHardwareSettings(board, file, number);
    if (file.Modified()) {
        if (file.UpdateFile())
            return true;
        if (error)
            *error = file.LastError();
        file.DiscardChanges();  // told by the caller, not again by the file
        return false;
    }
    // The file exists also when no device writes a section.
    if (QFileInfo(fileName).isFile())
        return true;
    QString reason;
    if (EnsureFolderFor(fileName, &reason) && WriteWholeFile(fileName, QByteArray(), &reason))
        return true;
    if (error)
        *error = CannotWriteText(fileName, reason);
    return false;
}
