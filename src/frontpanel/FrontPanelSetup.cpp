// The front-panel window's texts in the current language and its properties dialog.

#include "frontpanel/FrontPanel.h"

#include "core/model/Translator.h"
#include "frontpanel/Design.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/MessageBox.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"
#include "widgets/SpeedButton.h"

#include <QAction>
#include <QTabBar>
#include <QToolButton>

namespace {

QString L(const char* german, const char* english, const char* french)
{
    return Lang3Q(german, english, french);
}

QString HelpFileFilter()
{
    return L("Hilfedateien (*.HLP;*.CHM)|*.HLP;*.CHM|Textdateien (*.TXT;*.RTF)|*.TXT;*.RTF|"
             "Word-Dokumente (*.DOC;*.WRI)|*.DOC;*.WRI|HTML-Dokumente (*.HTM)|*.HTM|"
             "Acrobat-Dateien (*.PDF)|*.PDF|Alle Dateien (*.*)|*.*",
             "Help files (*.HLP;*.CHM)|*.HLP;*.CHM|Text files (*.TXT;*.RTF)|*.TXT;*.RTF|"
             "Word documents (*.DOC;*.WRI)|*.DOC;*.WRI|HTML files (*.HTM)|*.HTM|"
             "Acrobat files (*.PDF)|*.PDF|All files (*.*)|*.*",
             "Fichiers d´aide (*.HLP;*.CHM)|*.HLP;*.CHM|Fichiers texte (*.TXT;*.RTF)|*.TXT;*.RTF|"
             "Documents Word (*.DOC;*.WRI)|*.DOC;*.WRI|Fichiers HTML (*.HTM)|*.HTM|"
             "Fichiers Acrobat (*.PDF)|*.PDF|Tous fichiers (*.*)|*.*");
}

} // namespace

void TFrontplatte::ApplyLanguage()
{
    const QString config = Translate(QStringLiteral("Konfiguration")) + QStringLiteral(": ");
    InternalBtn->setToolTip(config + Translate(QStringLiteral("Anwendung")) + QStringLiteral("..."));
    HWBtn->setToolTip(config + Translate(QStringLiteral("Hardware")) + QStringLiteral("... F6"));
    DlgBtn->setToolTip(config + Translate(QStringLiteral("Frontplatte")) + QStringLiteral("... F7"));

    Title = L("Frontplatte", "Front panel", "Panneau de contrôle");
    setWindowTitle(Title);
    SB_Raster->setText(L("Raster", "Grid", "Grille"));
    OpenBtn->setToolTip(L("Einstellungen laden... (F3)", "Load setting... F3", "Charger réglages... F3"));
    SaveBtn->setToolTip(L("Einstellungen speichern... (F2)", "Save setting... F2",
                          "Sauvegarder réglages... F2"));
    PrintBtn->setToolTip(L("Frontplatte drucken... (F5)", "Print front panel... F5",
                           "Imprimer panneau de contrôle... F5"));
    CopyBtn->setToolTip(L("Frontplatte in Zwischenablage kopieren (F4)",
                          "Copy front panel to clipboard F4",
                          "Copier panneau de contrôle dans presse-papiers F4"));
    HintBtn->setToolTip(L("Hinweistexte ein-/ausschalten (F8)", "Hints on/off F8",
                          "Commentaires on/off F8"));
    HelpBtn->setToolTip(L("Hilfedokument anzeigen... (F1)", "Show help document... F1",
                          "Montrer document d´aide... F1"));
    Umbenennen->setText(Translate(QStringLiteral("Eigenschaften")) + QStringLiteral("..."));
    Nachlinks1->setText(L("Nach links setzen", "Move left", "Déplacer à gauche"));
    Nachrechts1->setText(L("Nach rechts setzen", "Move right", "Déplacer à droite"));
    NeueFrontplatte1->setText(L("Neue Frontplatte hinzufügen", "Add new front panel",
                                "Ajouter nouveau panneau de contrôle"));
    Lschen1->setText(L("Frontplatte löschen", "Remove front panel", "Enlever panneau decontrôle"));
    SB_Raster->setToolTip(L("Rasterfang ein/aus", "Capture on/off", "Capture on/off"));
    const std::pair<QToolButton*, int> sizes[] = {{SB_R4, 4}, {SB_R8, 8}, {SB_R16, 16}, {SB_R32, 32}};
    for (const auto& [button, size] : sizes)
        button->setToolTip(L("Raster: %1 Pixel", "Grid: %1 pixels", "Grille: %1 pixels").arg(size));
    SB_ZeichneRaster->setToolTip(L("Raster einblenden", "Show grid", "Montrer grille"));
    SB_Left->setToolTip(L("Nach links verschieben", "Move left", "Déplacer à gauche"));
    SB_Right->setToolTip(L("Nach rechts verschieben", "Move right", "Déplacer à droite"));
    SB_Up->setToolTip(L("Nach oben verschieben", "Move up", "Déplacer en haut"));
    SB_Down->setToolTip(L("Nach unten verschieben", "Move down", "Déplacer en bas"));
    ar_Links_Btn->setToolTip(L("Links ausrichten", "Adjust left", "Ajuster à gauche"));
    ar_Rechts_Btn->setToolTip(L("Rechts ausrichten", "Adjust right", "Ajuster à droite"));
    ar_Oben_Btn->setToolTip(L("Oben ausrichten", "Adjust top", "Ajuster en haut"));
    ar_Unten_Btn->setToolTip(L("Unten ausrichten", "Adjust bottom", "Ajuster en bas"));
    SpeedButton3->setToolTip(L("Mittig ausrichten", "Adjust center", "Ajuster au centre"));
    SpeedButton4->setToolTip(L("Mittig ausrichten", "Adjust center", "Ajuster au centre"));
    GridColorBtn->setToolTip(L("Rasterfarbe", "Grid colour", "Couleur grille"));
}

void TFrontplatte::SetupBtnClick()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(Title);
    dlg.HelpContext = 5400;
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    const auto T = [](const char* word) { return Translate(QString::fromUtf8(word)); };

    QString title = Title;
    const int tab = TabControl1->currentIndex();
    QString tabCaption = TabControl1->tabText(tab);
    int32_t color = FPState().DesignPanelColor;
    QString iconFile = IconFile;
    TFrontPanelOptions options = Options;
    bool showHints = ShowHints;
    int32_t toolbarMode = ToolbarMode;
    QString helpFile = HelpFile;
    int32_t publishMode = PublishMode;
    int32_t refresh = WebRefreshSeconds;
    const QString config = T("Konfiguration") + QStringLiteral(": ");

    sheet.AddCaptionProp(T("Optionen"));
    sheet.AddEditProp(T("Titel"), title, 0, 180);
    sheet.AddEditProp(T("Name"), tabCaption, 0, 180);
    sheet.AddColorProp(T("Farbe"), color);
    sheet.AddFileProp(QStringLiteral("Icon"), iconFile, 0, 180, QStringLiteral("Icons (*.ico)|*.ico"),
                      QStringLiteral(".ICO"));
    sheet.AddCheckProp(T("Letzte Einstellung merken"), options.AutoSave);
    sheet.AddCheckProp(T("Kleine Titelzeile"), options.ToolTitel);
    sheet.AddCheckProp(T("Hinweistexte anzeigen"), showHints);
    sheet.AddCaptionProp(T("Laufzeit-Optionen"));
    sheet.AddComboProp(T("Werkzeugleiste"), toolbarMode,
                       {T("Offen"), QStringLiteral("Auto"), T("Geschlossen")}, 180);
    sheet.AddCheckProp(T("Einstellungen laden"), options.OpenBtn);
    sheet.AddCheckProp(T("Einstellungen speichern"), options.SaveBtn);
    if (EditLayout())
        sheet.AddCheckProp(config + T("Frontplatte"), options.DlgBtn);
    sheet.AddCheckProp(config + T("Anwendung"), options.InternalBtn);
    sheet.AddCheckProp(config + T("Hardware"), options.HWBtn);
    sheet.AddCheckProp(T("Hinweistexte ein-/ausschaltbar"), options.HintBtn);
    sheet.AddCheckProp(T("Drucken"), options.PrintBtn);
    sheet.AddCheckProp(T("Zwischenablage"), options.CopyBtn);
    sheet.AddCheckProp(T("Hilfe"), options.HelpBtn);
    sheet.AddFileProp(T("Datei") + QStringLiteral(" [") + T("Hilfe") + u']', helpFile, 0, 180,
                      HelpFileFilter(), QString());
    sheet.AddCheckProp(T("Grösse einstellbar"), options.Skalierbar);
    sheet.AddCheckProp(T("Vollbild"), options.FullScreen);
    sheet.AddCaptionProp(QStringLiteral("WebServer"));
    sheet.AddComboProp(T("Veröffentlichen"), publishMode,
                       {T("Niemals"), T("Nur zur Laufzeit"), T("Jederzeit")}, 200);
    sheet.AddSpinProp(QStringLiteral("Refresh [s]"), refresh, 0, 3600, 40);

    if (dlg.Execute() != mrOk)
        return;

    Title = title;
    Options = options;
    IconFile = iconFile;
    HelpFile = helpFile;
    WebRefreshSeconds = refresh;
    ToolbarMode = toolbarMode;
    if (tab >= 0)
        TabControl1->setTabText(tab, tabCaption);
    ShowHints = showHints;
    HintBtn->setChecked(showHints);
    FPState().DesignPanelColor = color;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, TColorToQColor(color));
    setPalette(pal);
    // The root page carries the title as its name (the settings sections use it).
    RootDesign->ElementName = Title;
    FPState().RootDesignName = Title;
    SetIcon(IconFile);
    setWindowTitle(Title);
    SaveDefaultWindowOptions(ProjectFileName());
    SetRunMode(RunMode);
    RootDesign->RefreshTransparency(this);
    ActivateDesign(ActiveDesign);
    if (EditLayout() && !Options.AutoSave)
        RootDesign->ApplyStartValue();
    SetPublishMode(publishMode);
}
