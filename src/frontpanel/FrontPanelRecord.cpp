// The front panel's persistent data: the window record in the project, the settings files
// "*.EST" and the front panel's part of the component state file.

#include "frontpanel/FrontPanelRecord.h"

#include "frontpanel/Design.h"
#include "frontpanel/FrontPanel.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "platform/Paths.h"
#include "platform/PrintRecord.h"
#include "platform/ScreenFit.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QTabBar>
#include <QToolButton>

#include <algorithm>
#include <climits>

namespace {

const QString kSection = QStringLiteral("Tavrinol");
const QString kRootPath = QStringLiteral("MainModul");

// The print settings in the window record's print record.
constexpr TPrintRecordLayout<TPanelPrintSettings, Extended> kPrintLayout{
    &TPanelPrintSettings::PrintPosition, &TPanelPrintSettings::PreviewOffset,
    &TPanelPrintSettings::Zoom,          &TPanelPrintSettings::PrintScale,
    &TPanelPrintSettings::Headline,      &TPanelPrintSettings::Hidden,
    &TPanelPrintSettings::Centered,      &TPanelPrintSettings::Background,
    &TPanelPrintSettings::PrinterIndex,  &TPanelPrintSettings::Orientation,
    &TPanelPrintSettings::Comment};

QString EstFilter()
{
    return Lang3Q("Einstellungen (*.EST)", "Settings (*.EST)", "Réglages (*.EST)");
}

void SetPanelColor(QWidget& window, int32_t color)
{
    FPState().DesignPanelColor = color;
    QPalette pal = window.palette();
    pal.setColor(QPalette::Window, TColorToQColor(color));
    window.setPalette(pal);
}

} // namespace

std::function<void(const QString&)>& EstLoadHook()
{
    static std::function<void(const QString&)> hook;
    return hook;
}

bool& EstKeepWindow()
{
    static bool keep = false;
    return keep;
}

QString StateFileName(const QString& projectFile)
{
    QString project = projectFile;
    if (project.isEmpty())
        project = Ctx().ProgramFolder + QStringLiteral("UNSAVED.PRJ");
    project.replace(u'\\', u'/');
    const QString folder = QFileInfo(project).path();
    return ResolvePath(folder + u'/' + UpperFileTitle(project) + QStringLiteral("_Default.set"));
}

// --- Window state ---------------------------------------------------------------------------------

int32_t TFrontplatte::WindowStateCode() const
{
    const Qt::WindowStates s = windowState();
    if (s & Qt::WindowMinimized)
        return 1;
    if (s & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return 2;
    return 0;
}

void TFrontplatte::SetWindowStateCode(int32_t code)
{
    setWindowState(code == 1 ? Qt::WindowMinimized
                   : code == 2 ? Qt::WindowMaximized
                               : Qt::WindowNoState);
}

QString TFrontplatte::ProjectFileName() const
{
    return ProjectFileNameHook ? ProjectFileNameHook() : QString();
}

// --- Window record --------------------------------------------------------------------------------

void TFrontplatte::WritePanelData(TWriter& writer)
{
    const QRect bounds = WindowBounds();
    writer.WriteRawInt16(static_cast<int16_t>(bounds.x()));
    writer.WriteRawInt16(static_cast<int16_t>(bounds.y()));
    writer.WriteRawInt16(static_cast<int16_t>(bounds.width()));
    writer.WriteRawInt16(static_cast<int16_t>(bounds.height()));
    writer.WriteRawShortString(Title, 50);
    writer.WriteInteger(TabControl1->count());
    for (int i = 0; i < TabControl1->count(); ++i)
        writer.WriteString(TabControl1->tabText(i));
    writer.WriteInteger(TabControl1->currentIndex());
    for (bool option : {Options.DlgBtn, Options.OpenBtn, Options.SaveBtn, Options.HelpBtn,
                        Options.ToolTitel, Options.Skalierbar, Options.AutoSave})
        writer.WriteBoolean(option);
    writer.WriteString(HelpFile);
    writer.WriteBoolean(ShowHints);
    writer.WriteBoolean(Options.HintBtn);
    writer.WriteBoolean(Options.PrintBtn);
    writer.WriteBoolean(Options.CopyBtn);
    writer.WriteString(IconFile);
    writer.WriteBoolean(Options.HWBtn);
    writer.WriteRawInt32(FPState().DesignPanelColor);
    writer.WriteBoolean(Options.InternalBtn);
    WritePrintRecord(writer, Print, kPrintLayout);
    writer.WriteInteger(ToolbarMode);
    writer.WriteString(WebServerPath);
    writer.WriteInteger(PublishMode);
    writer.WriteInteger(WebRefreshSeconds);
    writer.WriteInteger(WindowStateCode());
    writer.WriteBoolean(Options.FullScreen);
}

void TFrontplatte::ReadPanelData(TReader& reader, uint8_t version)
{
    const int left = reader.ReadRawInt16();
    const int top = reader.ReadRawInt16();
    const int width = reader.ReadRawInt16();
    const int height = reader.ReadRawInt16();
    SavedBounds = FitToScreen(QRect(left, top, width, height));
    SetWindowBounds(SavedBounds);

    Title = reader.ReadRawShortString(50);
    setWindowTitle(Title);
    RootDesign->ElementName = Title;
    FPState().RootDesignName = Title;

    const QSignalBlocker block(TabControl1);
    while (TabControl1->count() > 0)
        TabControl1->removeTab(0);

    int32_t tabIndex = 0;
    if (version < 3) {
        TabControl1->addTab(RootDesign->GetPageCaption());
        Options.DlgBtn = Options.OpenBtn = Options.SaveBtn = Options.HelpBtn = false;
        Options.ToolTitel = false;
        ToolbarMode = 0;
        Options.Skalierbar = true;
        Options.AutoSave = true;
        HelpFile.clear();
        ShowHints = true;
        Options.HintBtn = Options.PrintBtn = Options.CopyBtn = false;
        SetIcon(QString());
        Options.HWBtn = false;
        SetPanelColor(*this, 14215660);
    } else {
        // The tab count is a 16-bit number.
        const int16_t stored = static_cast<int16_t>(reader.ReadInteger());
        const qint64 most = std::min<qint64>(reader.BytesLeft() / 2, 32767);
        const int32_t tabs = TReader::CheckCount(stored, 0, static_cast<int32_t>(most), "tabs");
        for (int32_t i = 0; i < tabs; ++i)
            TabControl1->addTab(reader.ReadString());
        tabIndex = reader.ReadInteger();
        for (bool* option : {&Options.DlgBtn, &Options.OpenBtn, &Options.SaveBtn, &Options.HelpBtn,
                             &Options.ToolTitel, &Options.Skalierbar, &Options.AutoSave})
            *option = reader.ReadBoolean();
        HelpFile = reader.ReadString();
        ShowHints = reader.ReadBoolean();
        Options.HintBtn = reader.ReadBoolean();
        Options.PrintBtn = reader.ReadBoolean();
        Options.CopyBtn = reader.ReadBoolean();
        SetIcon(reader.ReadString());
        Options.HWBtn = reader.ReadBoolean();
        SetPanelColor(*this, reader.ReadRawInt32());
        if (version < 40) {
            Options.InternalBtn = false;
        } else {
            Options.InternalBtn = reader.ReadBoolean();
            ReadPrintRecordHead(reader, Print, kPrintLayout);
            Print.Comment.clear();
            const int32_t lines = reader.ReadCount("lines");
            for (int32_t i = 0; i < lines; ++i)
                Print.Comment << reader.ReadString();
            ToolbarMode = reader.ReadInteger();
            if (version < 43) {
                WebServerPath = Ctx().ProgramFolder + QStringLiteral("TvWebServer\\TvWebServer10.exe");
                SetPublishMode(0);
                WebRefreshSeconds = 5;
            } else {
                WebServerPath = reader.ReadString();
                SetPublishMode(reader.ReadInteger());
                WebRefreshSeconds = reader.ReadInteger();
            }
            if (version < 44) {
                SetWindowStateCode(0);
                Options.FullScreen = false;
            } else {
                SetWindowStateCode(reader.ReadInteger());
                Options.FullScreen = reader.ReadBoolean();
            }
        }
    }
    HintBtn->setChecked(ShowHints);
    // A page always has a tab.
    if (TabControl1->count() == 0)
        TabControl1->addTab(RootDesign->GetPageCaption());
    TabControl1->setCurrentIndex(std::clamp(tabIndex, 0, TabControl1->count() - 1));
    TabControl1Change();
    SetRunMode(RunMode);
    ActivateDesign(ActiveDesign);
}

// --- Window options in INI files -------------------------------------------------------------------

void TFrontplatte::WriteWindowOptions(TIniFile& ini)
{
    ini.WriteBool(kSection, QStringLiteral("InternalBtn"), Options.InternalBtn);
    ini.WriteBool(kSection, QStringLiteral("OpenBtn"), Options.OpenBtn);
    ini.WriteBool(kSection, QStringLiteral("SaveBtn"), Options.SaveBtn);
    ini.WriteBool(kSection, QStringLiteral("HelpBtn"), Options.HelpBtn);
    ini.WriteBool(kSection, QStringLiteral("ToolTitel"), Options.ToolTitel);
    ini.WriteInteger(kSection, QStringLiteral("ToolbarMode"), ToolbarMode);
    ini.WriteBool(kSection, QStringLiteral("Skalierbar"), Options.Skalierbar);
    ini.WriteBool(kSection, QStringLiteral("AutoSave"), Options.AutoSave);
    ini.WriteString(kSection, QStringLiteral("HelpFile"), HelpFile);
    ini.WriteBool(kSection, QStringLiteral("ShowHint"), ShowHints);
    ini.WriteBool(kSection, QStringLiteral("HintBtn"), Options.HintBtn);
    ini.WriteBool(kSection, QStringLiteral("PrintBtn"), Options.PrintBtn);
    ini.WriteBool(kSection, QStringLiteral("CopyBtn"), Options.CopyBtn);
    ini.WriteString(kSection, QStringLiteral("IconFile"), IconFile);
    ini.WriteBool(kSection, QStringLiteral("HWBtn"), Options.HWBtn);
    ini.WriteInteger(kSection, QStringLiteral("Color"), FPState().DesignPanelColor);
    ini.WriteBool(kSection, QStringLiteral("FullScreen"), Options.FullScreen);
    const int32_t state = WindowStateCode();
    ini.WriteInteger(kSection, QStringLiteral("Window state"), state);
    if (state == 0) {
        const QRect bounds = WindowBounds();
        ini.WriteInteger(kSection, QStringLiteral("Left"), bounds.x());
        ini.WriteInteger(kSection, QStringLiteral("Top"), bounds.y());
        ini.WriteInteger(kSection, QStringLiteral("Width"), bounds.width());
        ini.WriteInteger(kSection, QStringLiteral("Height"), bounds.height());
    }
}

void TFrontplatte::ReadWindowOptions(TIniFile& ini)
{
    const auto b = [&ini](const char* key) { return ini.ReadBool(kSection, QString::fromLatin1(key), false); };
    Options.InternalBtn = b("InternalBtn");
    Options.OpenBtn = b("OpenBtn");
    Options.SaveBtn = b("SaveBtn");
    Options.HelpBtn = b("HelpBtn");
    Options.ToolTitel = b("ToolTitel");
    ToolbarMode = ini.ReadInteger(kSection, QStringLiteral("ToolbarMode"), 1);
    Options.Skalierbar = b("Skalierbar");
    Options.AutoSave = b("AutoSave");
    HelpFile = ini.ReadString(kSection, QStringLiteral("HelpFile"), QString());
    ShowHints = b("ShowHint");
    HintBtn->setChecked(ShowHints);
    Options.HintBtn = b("HintBtn");
    Options.PrintBtn = b("PrintBtn");
    Options.CopyBtn = b("CopyBtn");
    SetIcon(ini.ReadString(kSection, QStringLiteral("IconFile"), QString()));
    Options.HWBtn = b("HWBtn");
    SetPanelColor(*this, ini.ReadInteger(kSection, QStringLiteral("Color"), 14215660));
    if (!EstKeepWindow()) {
        Options.FullScreen = b("FullScreen");
        const int32_t state = ini.ReadInteger(kSection, QStringLiteral("Window state"), 0);
        // The bounds are stored only for a normal window; without them the window keeps its
        // bounds (a maximized window's options do not move its normal place).
        const bool stored = ini.ValueExists(kSection, QStringLiteral("Left"));
        if (state == 0 || stored) {
            const QRect bounds =
                FitToScreen(QRect(ini.ReadInteger(kSection, QStringLiteral("Left"), 10),
                                  ini.ReadInteger(kSection, QStringLiteral("Top"), 10),
                                  ini.ReadInteger(kSection, QStringLiteral("Width"), 600),
                                  ini.ReadInteger(kSection, QStringLiteral("Height"), 400)));
            if (!Options.FullScreen)
                SavedBounds = bounds;
            SetWindowStateCode(0);
            SetWindowBounds(bounds);
        }
        SetWindowStateCode(state);
    }
    SetRunMode(RunMode);
}

// --- Settings files -------------------------------------------------------------------------------

bool TFrontplatte::SaveEstFile(const QString& fileName)
{
    TIniFile ini(ResolvePath(fileName));
    for (const QString& section : ini.ReadSections())
        ini.EraseSection(section);
    ini.WriteString(kSection, QStringLiteral("Project"), UpperFileTitle(ProjectFileName()));
    WriteWindowOptions(ini);
    RootDesign->SaveSettings(ini, kRootPath);
    // A failure is reported by the file when it closes.
    return ini.UpdateFile();
}

void TFrontplatte::SaveBtnClick()
{
    QString defaultName = UpperFileTitle(ProjectFileName());
    if (defaultName.isEmpty())
        defaultName = Lang3Q("Neues_Projekt", "New_project", "Nouveau_projet");
    QFileDialog dlg(this);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setNameFilter(EstFilter());
    dlg.setDefaultSuffix(QStringLiteral("EST"));
    dlg.selectFile(OpenDialogFileName.isEmpty() ? defaultName + QStringLiteral(".EST")
                                                : OpenDialogFileName);
    if (ShowModal(dlg) != mrOk || dlg.selectedFiles().isEmpty())
        return;
    SaveEstFile(dlg.selectedFiles().constFirst());
}

void TFrontplatte::OpenBtnClick()
{
    QFileDialog dlg(this);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setNameFilter(EstFilter());
    dlg.setDefaultSuffix(QStringLiteral("EST"));
    if (!OpenDialogFileName.isEmpty())
        dlg.selectFile(OpenDialogFileName);
    if (ShowModal(dlg) != mrOk || dlg.selectedFiles().isEmpty())
        return;
    OpenDialogFileName = dlg.selectedFiles().constFirst();
    LoadEstFile(OpenDialogFileName);
}

void TFrontplatte::LoadEstFile(const QString& fileName)
{
    TIniFile ini(ResolvePath(fileName));
    if (ini.ReadString(kSection, QStringLiteral("Project"), QStringLiteral("ERROR"))
        == QStringLiteral("ERROR")) {
        MessageBoxText(Lang3Q("Diese Datei enthält keine gültigen Einstellungen!",
                              "No valid setting found in this file!",
                              "Aucun réglage valide trouvé dans ce fichier !"),
                       windowTitle(), mbOK, mtWarning);
        return;
    }
    bool match = true;
    for (const QString& section : ini.ReadSections()) {
        if (section.compare(kSection, Qt::CaseInsensitive) == 0)
            continue;
        if (!RootDesign->MatchQualifiedName(kRootPath, section))
            match = false;
    }
    if (match)
        match = RootDesign->LoadSettings(ini, kRootPath, true);
    if (!match) {
        const QString text =
            Lang3Q("Die Einstellungsdatei stimmt nicht mit dem Projekt überein.\r"
                   "Das Laden kann zu unerwarteten Einstellungen führen.\r\r"
                   "Möchten Sie die Einstellung trotzdem laden?",
                   "The setting in this file does not match the project.\r"
                   "Unexpected settings can occur.\r\r"
                   "Load setting file anyway?",
                   "Les réglages de ce fichier ne correspondent pas à ce fichier.\r"
                   "Des réglages inappropriés peuvent survenir.\r\r"
                   "Charger tout de même les réglages ?");
        if (MessageBoxText(text, Lang3Q("Warnung", "Warning", "Warning"), mbYesNo, mtWarning)
            != mrYes)
            return;
    }
    ReadWindowOptions(ini);
    RootDesign->LoadSettings(ini, kRootPath, false);
    if (!match)
        MessageBoxText(Lang3Q("Bitte überprüfen Sie die Einstellungen und\r"
                              "speichern Sie die Einstellungsdatei neu ab.",
                              "Please verify all settings and \rsave the setting file again.",
                              "Vérifiez s´il vous plait tous les réglages et \r"
                              "sauvegardez à nouveau le fichier des réglages."),
                       Lang3Q("Hinweis", "Information", "Information"), mbOK, mtInformation);
}

// --- Component state file -------------------------------------------------------------------------

bool TFrontplatte::SaveDefaultSettings(const QString& projectFile)
{
    TIniFile ini(StateFileName(projectFile));
    WriteWindowOptions(ini);
    RootDesign->SaveSettings(ini, kRootPath);
    return ini.UpdateFile();
}

void TFrontplatte::LoadDefaultSettings(const QString& projectFile)
{
    TIniFile ini(StateFileName(projectFile));
    // Without stored options (no state file yet) the window keeps its own; reading the
    // defaults would switch AutoSave itself off.
    if (ini.SectionExists(kSection))
        ReadWindowOptions(ini);
    RootDesign->LoadSettings(ini, kRootPath, false);
}

void TFrontplatte::RunStarting(const QString& projectFile)
{
    SavedBounds = WindowBounds();
    show();
    if (Options.AutoSave)
        LoadDefaultSettings(projectFile);
    else
        RootDesign->ApplyStartValue();
}

void TFrontplatte::RunStopped(const QString& projectFile)
{
    if (Options.AutoSave)
        SaveDefaultSettings(projectFile);
    SetRunMode(false);
    ActivateDesign(ActiveDesign ? ActiveDesign : RootDesign);
    SetPublishMode(PublishMode);
    if (!Options.AutoSave)
        RootDesign->ApplyStartValue();
}

bool TFrontplatte::SaveDefaultWindowOptions(const QString& projectFile)
{
    TIniFile ini(StateFileName(projectFile));
    WriteWindowOptions(ini);
    return ini.UpdateFile();
}
