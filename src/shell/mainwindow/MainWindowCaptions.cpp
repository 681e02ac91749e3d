// Captions, hints, tab and dialog texts of the main window in German, English and French.
// The window is built with the German texts; TranslateMenus replaces them for English and
// French from the same table and composes five texts through the word table in every language.

#include "shell/mainwindow/MainWindow.h"

#include "core/model/Translator.h"
#include "platform/Context.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QTabBar>
#include <QToolButton>

namespace {

enum TCaptionKind : int {
    kCaption,  // menu title, menu item text, button text
    kHint,     // tool tip
    kTitle,    // file dialog title
    kFilter,   // file dialog filter
    kTab0,     // first board tab
    kItems,    // combo items, separated by '|'
    kPrefix,   // caption prefix of the macro palette's delete item
};

struct TCaptionEntry {
    const char* Name;
    TCaptionKind Kind;
    const char* Texts[3];  // German (nullptr: nothing stored), English, French (nullptr: German)
};

// clang-format off
const TCaptionEntry kCaptions[] = {
    {"Datei1", kCaption, {"&Datei", "&File", "&Fichier"}},
    {"DateiNeuBtn", kCaption, {"&Neu", "&New", "&Nouveau"}},
    {"ffnen2", kCaption, {"Ö&ffnen...", "&Open...", "&Ouvrir..."}},
    {"Speichern1", kCaption, {"&Speichern", "&Save", "&Sauvegarder"}},
    {"Speichernals1", kCaption, {"Speichern &unter...", "Save &as...", "Sauvegarder &comme..."}},
    {"Beispiele1", kCaption, {"&Beispiele...", "&Examples...", "&Exemples..."}},
    {"Makroimportieren1", kCaption, {"&Makro importieren...", "&Import macro...", "&Importer macro..."}},
    {"MakroSpeichern1", kCaption, {"Als Makro s&peichern...", "Save as &macro...", "Sauvegarder comme &macro..."}},
    {"Drucken1", kCaption, {"&Drucken...", "&Print...", "&Imprimer..."}},
    {"Beenden1", kCaption, {"&Beenden", "&Quit", "&Quitter"}},
    {"Compilieren", kCaption, {"&Compilieren...", "&Compile...", "&Compiler..."}},
    {"Bearbeiten1", kCaption, {"&Bearbeiten", "&Edit", "&Editer"}},
    {"Ausschneiden1", kCaption, {"A&usschneiden", "&Cut", "&Couper"}},
    {"Kopieren1", kCaption, {"Kopieren", "&Copy", "&Copier"}},
    {"Einfgen1", kCaption, {"&Einfügen", "&Paste", "&Coller"}},
    {"Duplizieren1", kCaption, {"&Duplizieren", "&Duplicate", "&Dupliquer"}},
    {"Allesauswhlen1", kCaption, {"&Alles auswählen", "&Select all", "&Tout sélectionner"}},
    {"Lschen1", kCaption, {"&Löschen", "&Delete", "&Effacer"}},
    {"Nachvornesetzen1", kCaption, {"Nach &vorne setzen", "&To front", "&Vers l´avant"}},
    {"Nachhintensetzen1", kCaption, {"Nach &hinten setzen", "To &back", "Vers &l´arrière"}},
    {"Aufrumen1", kCaption, {"Aufräumen", "&Clean up", "&Éclaircir"}},
    {"Frontplatte1", kCaption, {"&Frontplatte", "&Front panel", "&Panneau de contrôle"}},
    {"Eigenschaften1", kCaption, {"&Eigenschaften...", "P&roperties...", "&Propriétés..."}},
    {"FPAnzeigen", kCaption, {"&Anzeigen", "&Show", "&Montrer"}},
    {"NeueFrontplatteerzeugen1", kCaption, {"&Hinzufügen", "&Add new front panel", "&Ajouter nouveau panneau de contrôle"}},
    {"Lschen3", kCaption, {"&Löschen", "&Delete", "&Effacer"}},
    {"Drucken2", kCaption, {"&Drucken...", "&Print...", "&Imprimer..."}},
    {"Zwischenablage1", kCaption, {"&Kopieren", "&Copy", "&Copier"}},
    {"Option", kCaption, {"&Optionen", "&Options", "&Options"}},
    {"Raster", kCaption, {"&Raster", "&Grid", "&Grille"}},
    {"Stueckliste", kCaption, {"&Stückliste erstellen...", "&Components list...", "&Liste de composants..."}},
    {"Hinweistexte", kCaption, {"&Hinweistexte", "&Show hints", "&Montrer commentaires"}},
    {"Konfiguration1", kCaption, {"Konfiguration", "&Configuration", "&Configuration"}},
    {"Fenster1", kCaption, {"&Fenster", "&Window", "&Fenêtre"}},
    {"naechstes1", kCaption, {"&Nächstes", "&Next", "&Suivant"}},
    {"Makrofensterschliessen1", kCaption, {"Makro&fenster schliessen", "&Close macro", "&Fermer macro"}},
    {"Index", kCaption, {"&Hilfethemen...", "&Contents", "&Contenu"}},
    {"UntersttzeHardware1", kCaption, {"Unterstützte Har&dware...", "&Supported hardware...", "&Soutien matériel..."}},
    {"InternetUpdate1", kCaption, {"Internet &Update...", nullptr, "&Mise à jour Internet..."}},
    {"Frontplattenelemente2", kCaption, {"Frontplattenelemente", "Control elements", "Eléments de commande"}},
    {"Frontplattenelemente1", kCaption, {"Logikbauteile", "Logic components", "Composants logiques"}},
    {"Analoges1", kCaption, {"Analoges", "Analogue components", "Composants analogiques"}},
    {"Diverses1", kCaption, {"Diverses", "Miscellaneous", "Divers"}},
    {"Hardware1", kCaption, {"Hardware", "Hardware components", "Composants Hardware"}},
    {"Makros1", kCaption, {"Makros", "Macros", "Macros"}},
    {"Del1", kPrefix, {"Makro löschen: ", "Delete macro: ", "Effacer macro: "}},
    {"SearchAdd", kCaption, {"Zum Projekt hinzufügen", "Add to project", "Ajoutez au projet"}},
    {"Ausschneiden2", kCaption, {"Ausschneiden", "Cut", "Couper"}},
    {"Kopieren", kCaption, {"Kopieren", "Copy", "Copier"}},
    {"Einfgen", kCaption, {"Einfügen", "Paste", "Coller"}},
    {"Duplizieren", kCaption, {"Duplizieren", "Duplicate", "Dupliquer"}},
    {"Lschen2", kCaption, {"Löschen", "Delete", "Effacer"}},
    {"NachVorn", kCaption, {"Nach vorne setzen", "To front", "Vers l´avant"}},
    {"NachHinten", kCaption, {"Nach hinten setzen", "To back", "Vers l´arrière"}},
    {"Tauschen", kCaption, {"Drehen", "Flip", "Rotation"}},
    {"Eigenschaften", kCaption, {"Eigenschaften", "Properties...", "Propriétés..."}},
    {"Bearbeiten2", kCaption, {"Makro bearbeiten", "Edit macro", "Editer macro"}},
    {"Hilfe2", kCaption, {nullptr, "Help...", "Aide..."}},
    {"HerstellerDatenblattVertrieb1", kCaption, {"Weitere Informationen...", "More information...", "Plus d´information..."}},
    {"ToolButton1", kHint, {"Neu", "New", "Nouveau"}},
    {"ToolButton2", kHint, {"Öffnen", "Open", "Ouvrir"}},
    {"ToolButton3", kHint, {"Speichern", "Save", "Sauvegarder"}},
    {"ToolButton4", kHint, {"Drucken", "Print", "Imprimer"}},
    {"ToolButton6", kHint, {"Ausschneiden", "Cut", "Couper"}},
    {"ToolButton7", kHint, {"Kopieren", "Copy", "Copier"}},
    {"ToolButton8", kHint, {"Einfügen", "Paste", "Coller"}},
    {"ToolButton12", kHint, {"Duplizieren", "Duplicate", "Dupliquer"}},
    {"ToolButton9", kHint, {"Löschen", "Delete", "Effacer"}},
    {"ToolButton15", kHint, {"Neuer Text", "Label", "Texte"}},
    {"SB_Raster", kHint, {"Raster", "Grid", "Grille"}},
    {"ToolButton17", kHint, {"Stückliste", "Components list", "Liste de composants"}},
    {"tb_ZoomAll", kHint, {"Zoom (ganzer Arbeitsbereich)", "Zoom (page)", "Zoom (page)"}},
    {"tb_ZoomObjects", kHint, {"Zoom (alle Objekte)", "Zoom (objects)", "Zoom (objets)"}},
    {"tb_ZoomMarked", kHint, {"Zoom (alle markierten Objekte)", "Zoom (marked objects)", "Zoom (Objets sélectionnés)"}},
    {"tb_Compile", kHint, {"Compilieren...", "Compile...", "Compiler..."}},
    {"StandardBtn", kHint, {"Standard", "Edit", "Editer"}},
    {"LineBtn", kHint, {"Verbindungen", "Connect", "Connecter"}},
    {"ZoomBtn", kHint, {"Zoom", "Zoom", "Zoom"}},
    {"SB_Start", kHint, {"Start (F9)", "Start (F9)", "Début (F9)"}},
    {"SB_Stop", kHint, {"Stop (ESC)", "Stop (ESC)", "Fin (ESC)"}},
    {"SB_HILO", kHint, {"Leitungszustand anzeigen", "Show wire status", "Montrer état du fil"}},
    {"SB_Status", kHint, {"Bauteilzustand anzeigen", "Show pin status", "Montrer état de la broche"}},
    {"SB_Front", kHint, {"Frontplatte anzeigen (F12)", "Show front panel", "Montrer panneau de contrôle"}},
    {"HintBtn", kHint, {"Bauteilhinweise anzeigen", "Show component hints", "Montrer commentaire composant"}},
    {"cb_NurText", kHint, {"Nur Text", "Text only", "Texte seul"}},
    {"TabSet", kTab0, {" Hauptschaltung ", " Main circuit ", " Circuit principal "}},
    {"sb_BiboPlus", kHint, {"Nächste Seite", "Next page", "Page suivante"}},
    {"sb_BiboMinus", kHint, {"Vorige Seite", "Previous page", "Page précédente"}},
    {"SaveDialog1", kTitle, {"Projekt speichern", "Save project", "Sauvegarder projet"}},
    {"SaveMakroDialog", kTitle, {"Makro speichern", "Save macro", "Sauvegarder macro"}},
    {"SearchBtn", kHint, {"Schnell finden...", "Quick find...", "Trouvaille rapide..."}},
    {"CloseBibo", kHint, {"Bibliothek ein-/ausblenden", "Hide/show library", "Fermer/ouvrir la librairie"}},
    {"cbSpeed", kItems, {"Fast|Slow", nullptr, "Rapide|Lente"}},
    {"OpenDialog1", kFilter, {"Projektdatei|*.prj|Makro|*.mak", "Project|*.prj|Macro|*.mak", "Projet|*.prj|Macro|*.mak"}},
    {"SaveDialog1", kFilter, {"Projektdatei|*.prj", "Project|*.prj", "Projet|*.prj"}},
    {"SaveMakroDialog", kFilter, {"Makro|*.mak", "Macro|*.mak", "Macro|*.mak"}},
};
// clang-format on

} // namespace

void TForm1::SetCaption(const QString& name, int kind, const QString& text)
{
    switch (kind) {
    case kCaption:
        if (QAction* action = m_actions.value(name)) {
            action->setText(text);
        } else if (auto* menu = findChild<QMenu*>(name)) {
            menu->setTitle(text);
        } else if (QToolButton* button = m_buttons.value(name)) {
            button->setText(text);
        }
        break;
    case kHint:
        if (QToolButton* button = m_buttons.value(name))
            button->setToolTip(text);
        else if (QAction* action = m_actions.value(name))
            action->setToolTip(text);
        break;
    case kTitle:
        FileDialogs[name].Title = text;
        break;
    case kFilter:
        FileDialogs[name].Filter = text;
        break;
    case kTab0:
        if (TabSet && TabSet->count() > 0)
            TabSet->setTabText(0, text);
        break;
    case kItems: {
        const QStringList items = text.split(u'|');
        for (int i = 0; i < items.size() && i < cbSpeed->count(); ++i)
            cbSpeed->setItemText(i, items[i]);
        break;
    }
    case kPrefix:
        DeleteMacroPrefix = text;
        break;
    default:
        break;
    }
}

// column 0: the German texts the window is built with; 1 English, 2 French. A missing English
// or French text keeps the German one; a missing German text leaves the control as it is.
void TForm1::ApplyCaptions(int column)
{
    for (const TCaptionEntry& entry : kCaptions) {
        const char* text = entry.Texts[column];
        if (!text)
            text = entry.Texts[0];
        if (!text)
            continue;
        SetCaption(QString::fromLatin1(entry.Name), entry.Kind, QString::fromUtf8(text));
    }
}

void TForm1::SetStoredCaptions()
{
    ApplyCaptions(0);
}

void TForm1::TranslateMenus()
{
    const QString config = Translate(QStringLiteral("Konfiguration")) + QStringLiteral(": ");
    if (QToolButton* b = m_buttons.value(QStringLiteral("tb_Config")))
        b->setToolTip(config + Translate(QStringLiteral("Anwendung")) + QStringLiteral("..."));
    if (QToolButton* b = m_buttons.value(QStringLiteral("tb_ConfigHW")))
        b->setToolTip(config + Translate(QStringLiteral("Hardware")) + QStringLiteral("..."));
    if (QToolButton* b = m_buttons.value(QStringLiteral("tb_Frontplatte")))
        b->setToolTip(config + Translate(QStringLiteral("Frontplatte")) + QStringLiteral("..."));
    if (QAction* a = m_actions.value(QStringLiteral("Hardware2")))
        a->setText(u'&' + Translate(QStringLiteral("Hardware")) + QStringLiteral("..."));
    if (QAction* a = m_actions.value(QStringLiteral("Anwendung1")))
        a->setText(u'&' + Translate(QStringLiteral("Anwendung")) + QStringLiteral("..."));

    const int language = Ctx().CurrentLanguage;
    if (language == 1 || language == 2)
        ApplyCaptions(language);
}
