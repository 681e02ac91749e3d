// Captions of the main window in German, English and French, chosen by "SPRACHE.INI".
#include "MainWindowTestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QTabBar>
#include <QToolButton>

namespace {

class MainWindowCaptions : public MainWindowFixture {
protected:
    TForm1& MakeInLanguage(int language)
    {
        WriteFile(QStringLiteral("SPRACHE.INI"),
                  "[Sprache]\r\nSprache=" + QByteArray::number(language) + "\r\n");
        return Make();
    }
};

enum Kind { kMenu, kItem, kHint };

struct Row {
    Kind kind;
    const char* name;
    const char* texts[3];
};

// Representative menus and items, and every tool-bar and button hint.
const Row kRows[] = {
    {kMenu, "Datei1", {"&Datei", "&File", "&Fichier"}},
    {kMenu, "Frontplatte1", {"&Frontplatte", "&Front panel", "&Panneau de contrôle"}},
    {kMenu, "Fenster1", {"&Fenster", "&Window", "&Fenêtre"}},
    {kItem, "ffnen2", {"Ö&ffnen...", "&Open...", "&Ouvrir..."}},
    {kItem, "Speichernals1", {"Speichern &unter...", "Save &as...", "Sauvegarder &comme..."}},
    {kItem, "Kopieren1", {"Kopieren", "&Copy", "&Copier"}},
    {kItem, "Nachvornesetzen1", {"Nach &vorne setzen", "&To front", "&Vers l\u00b4avant"}},
    {kItem, "Aufrumen1", {"Aufräumen", "&Clean up", "&Éclaircir"}},
    {kItem, "InternetUpdate1", {"Internet &Update...", "Internet &Update...", "&Mise à jour Internet..."}},
    {kItem, "Analoges1", {"Analoges", "Analogue components", "Composants analogiques"}},
    {kItem, "Tauschen", {"Drehen", "Flip", "Rotation"}},
    {kItem, "Hardware2", {"&Hardware...", "&Hardware...", "&Matériel..."}},
    {kItem, "Anwendung1", {"&Anwendung...", "&Application...", "&Application..."}},
    {kHint, "ToolButton1", {"Neu", "New", "Nouveau"}},
    {kHint, "ToolButton2", {"Öffnen", "Open", "Ouvrir"}},
    {kHint, "ToolButton3", {"Speichern", "Save", "Sauvegarder"}},
    {kHint, "ToolButton4", {"Drucken", "Print", "Imprimer"}},
    {kHint, "ToolButton6", {"Ausschneiden", "Cut", "Couper"}},
    {kHint, "ToolButton7", {"Kopieren", "Copy", "Copier"}},
    {kHint, "ToolButton8", {"Einfügen", "Paste", "Coller"}},
    {kHint, "ToolButton12", {"Duplizieren", "Duplicate", "Dupliquer"}},
    {kHint, "ToolButton9", {"Löschen", "Delete", "Effacer"}},
    {kHint, "ToolButton15", {"Neuer Text", "Label", "Texte"}},
    {kHint, "SB_Raster", {"Raster", "Grid", "Grille"}},
    {kHint, "ToolButton17", {"Stückliste", "Components list", "Liste de composants"}},
    {kHint, "tb_ZoomPlus", {"Zoom (plus)", "Zoom (plus)", "Zoom (plus)"}},
    {kHint, "tb_ZoomMinus", {"Zoom (minus)", "Zoom (minus)", "Zoom (minus)"}},
    {kHint, "tb_ZoomAll", {"Zoom (ganzer Arbeitsbereich)", "Zoom (page)", "Zoom (page)"}},
    {kHint, "tb_ZoomObjects", {"Zoom (alle Objekte)", "Zoom (objects)", "Zoom (objets)"}},
    {kHint, "tb_ZoomMarked", {"Zoom (alle markierten Objekte)", "Zoom (marked objects)", "Zoom (Objets sélectionnés)"}},
    {kHint, "tb_Frontplatte", {"Konfiguration: Frontplatte...", "Configuration: Front panel...", "Configuration: Face avant..."}},
    {kHint, "tb_Config", {"Konfiguration: Anwendung...", "Configuration: Application...", "Configuration: Application..."}},
    {kHint, "tb_ConfigHW", {"Konfiguration: Hardware...", "Configuration: Hardware...", "Configuration: Matériel..."}},
    {kHint, "tb_Compile", {"Compilieren...", "Compile...", "Compiler..."}},
    {kHint, "StandardBtn", {"Standard", "Edit", "Editer"}},
    {kHint, "LineBtn", {"Verbindungen", "Connect", "Connecter"}},
    {kHint, "ZoomBtn", {"Zoom", "Zoom", "Zoom"}},
    {kHint, "SB_Start", {"Start (F9)", "Start (F9)", "Début (F9)"}},
    {kHint, "SB_Stop", {"Stop (ESC)", "Stop (ESC)", "Fin (ESC)"}},
    {kHint, "SB_HILO", {"Leitungszustand anzeigen", "Show wire status", "Montrer état du fil"}},
    {kHint, "SB_Status", {"Bauteilzustand anzeigen", "Show pin status", "Montrer état de la broche"}},
    {kHint, "SB_Front", {"Frontplatte anzeigen (F12)", "Show front panel", "Montrer panneau de contrôle"}},
    {kHint, "HintBtn", {"Bauteilhinweise anzeigen", "Show component hints", "Montrer commentaire composant"}},
    {kHint, "cb_NurText", {"Nur Text", "Text only", "Texte seul"}},
    {kHint, "sb_BiboPlus", {"Nächste Seite", "Next page", "Page suivante"}},
    {kHint, "sb_BiboMinus", {"Vorige Seite", "Previous page", "Page précédente"}},
    {kHint, "SearchBtn", {"Schnell finden...", "Quick find...", "Trouvaille rapide..."}},
    {kHint, "CloseBibo", {"Bibliothek ein-/ausblenden", "Hide/show library", "Fermer/ouvrir la librairie"}},
};

QString Shown(const TForm1& form, const Row& row)
{
    switch (row.kind) {
    case kMenu: {
        const QMenu* menu = form.findChild<QMenu*>(QString::fromLatin1(row.name));
        return menu ? menu->title() : QStringLiteral("<missing>");
    }
    case kItem: {
        const QAction* action = form.ActionByName(QString::fromLatin1(row.name));
        return action ? action->text() : QStringLiteral("<missing>");
    }
    case kHint: {
        const QToolButton* button = form.ButtonByName(QString::fromLatin1(row.name));
        return button ? button->toolTip() : QStringLiteral("<missing>");
    }
    }
    return {};
}

} // namespace

TEST_F(MainWindowCaptions, MenusAndHintsInEachLanguage)
{
    for (int language = 0; language < 3; ++language) {
        TForm1& f = MakeInLanguage(language);
        ASSERT_EQ(Ctx().CurrentLanguage, language);
        for (const Row& row : kRows)
            EXPECT_EQ(Shown(f, row), QString::fromUtf8(row.texts[language]))
                << row.name << " in language " << language;
        form.reset();
    }
}

TEST_F(MainWindowCaptions, TabSpeedBoxAndDialogsInEachLanguage)
{
    struct Expect {
        const char* tab;
        const char* fast;
        const char* slow;
        const char* openFilter;
        const char* saveTitle;
        const char* macroFilter;
        const char* deletePrefix;
    };
    const Expect expected[3] = {
        {" Hauptschaltung ", "Fast", "Slow", "Projektdatei|*.prj|Makro|*.mak", "Projekt speichern",
         "Makro|*.mak", "Makro löschen: "},
        {" Main circuit ", "Fast", "Slow", "Project|*.prj|Macro|*.mak", "Save project",
         "Macro|*.mak", "Delete macro: "},
        {" Circuit principal ", "Rapide", "Lente", "Projet|*.prj|Macro|*.mak",
         "Sauvegarder projet", "Macro|*.mak", "Effacer macro: "},
    };
    for (int language = 0; language < 3; ++language) {
        const Expect& e = expected[language];
        TForm1& f = MakeInLanguage(language);
        EXPECT_EQ(f.TabSet->tabText(0), QString::fromUtf8(e.tab));
        EXPECT_EQ(f.cbSpeed->itemText(0), QString::fromUtf8(e.fast));
        EXPECT_EQ(f.cbSpeed->itemText(1), QString::fromUtf8(e.slow));
        EXPECT_EQ(f.FileDialogs.value(QStringLiteral("OpenDialog1")).Filter, QString::fromUtf8(e.openFilter));
        EXPECT_EQ(f.FileDialogs.value(QStringLiteral("SaveDialog1")).Title, QString::fromUtf8(e.saveTitle));
        EXPECT_EQ(f.FileDialogs.value(QStringLiteral("SaveMakroDialog")).Filter, QString::fromUtf8(e.macroFilter));
        EXPECT_EQ(f.DeleteMacroPrefix, QString::fromUtf8(e.deletePrefix));
        form.reset();
    }
}

// A language number outside 0..2 counts as German: no caption turns into "???".
TEST_F(MainWindowCaptions, UnknownLanguageGivesGerman)
{
    TForm1& f = MakeInLanguage(7);
    EXPECT_EQ(Ctx().CurrentLanguage, 0);
    EXPECT_EQ(f.Datei1->title(), QStringLiteral("&Datei"));
    EXPECT_EQ(f.ButtonByName(QStringLiteral("tb_Config"))->toolTip(),
              QStringLiteral("Konfiguration: Anwendung..."));
}
