#include "shell/tools/PartsList.h"

#include "core/board/BoardHooks.h"
#include "core/board/Makro.h"
#include "core/board/Platine.h"
#include "hardware/framework/BtHardware.h"
#include "hardware/framework/IoInterface.h"
#include "platform/Context.h"
#include "platform/FileIO.h"
#include "platform/Help.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "shell/palette/Bibo.h"
#include "shell/palette/PaletteCategories.h"
#include "ui/WidgetHelpers.h"
#include "widgets/Bitmaps.h"
#include "widgets/ToolGlyphs.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QSet>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kHelpContext = 12000;

bool CountsByInputs(const QString& className)
{
    static const QSet<QString> kClasses = {QStringLiteral("TBTAnd"), QStringLiteral("TBTNand"),
                                           QStringLiteral("TBTOr"),  QStringLiteral("TBTNor"),
                                           QStringLiteral("TBTExor"), QStringLiteral("TBTDAC")};
    return kClasses.contains(className);
}

} // namespace

QString DeviceClassOf(const TIOBauteil& component)
{
    if (!IsHardwareComponent(component))
        return {};
    const auto* hardware = dynamic_cast<const TBTHardware*>(&component);
    return hardware && hardware->Interface ? QString::fromLatin1(hardware->Interface->ClassName())
                                           : QString();
}

// --- Counting ---------------------------------------------------------------------------------

TPartsLister::TPartsLister() = default;
TPartsLister::~TPartsLister() = default;

void TPartsLister::LoadCategories()
{
    m_loaded = true;
    m_categories.clear();
    QSet<QString> files;
    TBibo library;
    library.OnReadHeader = ReadLibraryHeader;
    library.NoPaint = true;
    for (int row = 0; row < PaletteCategoryCount; ++row) {
        TCategory category;
        category.Caption = PaletteCategoryCaption(row).replace(QStringLiteral("&&"),
                                                               QStringLiteral("&"));
        // A library named by two rows is counted under the first.
        const QString file = LibraryName ? LibraryName(row).toLower() : QString::number(row);
        const QByteArray bytes = Library ? Library(row) : QByteArray();
        if (!files.contains(file) && !bytes.isEmpty()) {
            files.insert(file);
            try {
                library.LoadLibrary(bytes, QString());
                for (const auto& entry : library.Entries) {
                    if (dynamic_cast<const TMakro*>(entry.get()))
                        continue;
                    category.Entries.push_back({QString::fromLatin1(entry->ClassName()),
                                                DeviceClassOf(*entry),
                                                TBibo::OneLineCaption(*entry)});
                }
            } catch (const std::exception&) {
                category.Entries.clear();  // an unreadable library lists nothing
            }
        }
        m_categories.push_back(std::move(category));
    }
}

QStringList TPartsLister::List(TPlatine& board)
{
    if (!m_loaded)
        LoadCategories();
    QStringList lines;
    ListBoardParts(board, 0, lines);
    return lines;
}

void TPartsLister::ListBoardParts(TPlatine& board, int indent, QStringList& lines)
{
    const QString prefix(indent, u' ');
    std::vector<const TIOBauteil*> components;
    std::vector<TMakro*> macros;
    for (const auto& item : board.Items) {
        if (auto* macro = dynamic_cast<TMakro*>(item.get()))
            macros.push_back(macro);
        else if (const auto* component = dynamic_cast<const TIOBauteil*>(item.get()))
            components.push_back(component);
    }

    qsizetype headingLines = 0;
    QSet<QString> counted;  // class (and device) already listed on this board
    for (const TCategory& category : m_categories) {
        bool headed = false;
        for (const TEntry& entry : category.Entries) {
            const QString key = entry.ClassName + u'/' + entry.DeviceClass;
            if (counted.contains(key))
                continue;
            std::vector<const TIOBauteil*> matching;
            for (const TIOBauteil* c : components)
                if (QString::fromLatin1(c->ClassName()) == entry.ClassName &&
                    DeviceClassOf(*c) == entry.DeviceClass)
                    matching.push_back(c);
            if (matching.empty())
                continue;
            counted.insert(key);
            if (Groups && !headed) {
                lines << QString() << prefix + QStringLiteral("--- ") + category.Caption +
                                          QStringLiteral(" ---");
                headed = true;
                headingLines = lines.size();
            }
            const bool byInputs = CountsByInputs(entry.ClassName);
            if (byInputs || entry.ClassName == QStringLiteral("TBTADC")) {
                for (int k = 2; k <= 16; ++k) {
                    int n = 0;
                    for (const TIOBauteil* c : matching)
                        n += (byInputs ? c->InputCount : c->OutputCount) == k;
                    if (n > 0)
                        lines << prefix + QString::number(n) + QStringLiteral("x ") +
                                     entry.PaletteName + QStringLiteral(", ") + QString::number(k) +
                                     (byInputs ? QStringLiteral(" Eingänge")
                                               : QStringLiteral(" Ausgänge"));
                }
            } else {
                lines << prefix + QString::number(matching.size()) + QStringLiteral("x ") +
                             entry.PaletteName;
            }
        }
    }

    for (TMakro* macro : macros)
        macro->Listed = false;
    if (Groups) {
        lines << QString()
              << prefix + (Ctx().CurrentLanguage == 0 ? QStringLiteral("--- Makros ---")
                                                      : QStringLiteral("--- Macros ---"));
        headingLines = lines.size();
    }
    for (size_t i = 0; i < macros.size(); ++i) {
        TMakro* macro = macros[i];
        if (macro->Listed)
            continue;
        macro->Listed = true;
        int count = 1;
        for (size_t j = i + 1; j < macros.size(); ++j)
            if (!macros[j]->Listed && macros[j]->MacroName() == macro->MacroName()) {
                macros[j]->Listed = true;
                ++count;
            }
        lines << prefix + QString::number(count) + QStringLiteral("x ") + macro->MacroName();
        if (Macros && macro->InnerBoard()) {
            ListBoardParts(*macro->InnerBoard(), indent + 3, lines);
            lines << QString();
        }
    }
    if (Groups && lines.size() <= headingLines)
        lines.resize(lines.size() - 2);
}

QStringList PartsListText(TPartsLister& lister, TPlatine& board)
{
    QStringList lines{Lang3Q("Stückliste", "Components list", "Liste de composants"), QString()};
    lines << lister.List(board);
    return lines;
}

// --- Window -----------------------------------------------------------------------------------

TSList::TSList(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("SList"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);
    resize(460, 520);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* tools = new QHBoxLayout;
    tools->setContentsMargins(4, 4, 4, 4);
    auto button = [this, tools](const char* name, TToolGlyph glyph) {
        auto* b = Named(new QToolButton(this), name);
        b->setAutoRaise(true);
        b->setIcon(ToolGlyphIcon(glyph, 20));
        b->setIconSize(QSize(20, 20));
        tools->addWidget(b);
        return b;
    };
    SB_Print = button("SB_Print", TToolGlyph::Print);
    SB_Load = button("SB_Load", TToolGlyph::Open);
    SB_Save = button("SB_Save", TToolGlyph::Save);
    tools->addSpacing(12);
    CB_Makros = Named(new QCheckBox(this), "CB_Makros");
    CB_Gruppen = Named(new QCheckBox(this), "CB_Gruppen");
    tools->addWidget(CB_Makros);
    tools->addWidget(CB_Gruppen);
    tools->addStretch(1);
    layout->addLayout(tools);
    Memo = Named(new QPlainTextEdit(this), "Memo");
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(13);
    Memo->setFont(font);
    Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo->setTabChangesFocus(false);
    layout->addWidget(Memo, 1);

    connect(SB_Print, &QToolButton::clicked, this, [this] { SB_PrintClick(); });
    connect(SB_Load, &QToolButton::clicked, this, [this] { SB_LoadClick(); });
    connect(SB_Save, &QToolButton::clicked, this, [this] { SB_SaveClick(); });
    for (QCheckBox* box : {CB_Makros, CB_Gruppen})
        connect(box, &QCheckBox::clicked, this, [this] {
            if (OnChange)
                OnChange();
        });
    FormCreate();
}

void TSList::FormCreate()
{
    const auto t = [](const char* de, const char* en, const char* fr) { return Lang3Q(de, en, fr); };
    setWindowTitle(t("Stückliste", "Components list", "Liste de composants"));
    CB_Makros->setText(t("Makros aufschlüsseln", "&Detailed macros", "&Macros détaillées"));
    CB_Gruppen->setText(t("Gruppenüberschriften", "&Group headlines", "&En-têtes groupes"));
    SB_Load->setToolTip(t("Öffnen", "Open", "Ouvrir"));
    SB_Save->setToolTip(t("Speichern", "Save", "Sauvegarder"));
    SB_Print->setToolTip(t("Drucken", "Print", "Imprimer"));
}

namespace {

QString AskTextFile(QWidget* parent, bool save, const std::function<QString(bool)>& ask)
{
    if (ask)
        return ask(save);
    QFileDialog dialog(parent);
    dialog.setNameFilter(QStringLiteral("Text (*.txt *.TXT)"));
    dialog.setDefaultSuffix(QStringLiteral("TXT"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (ShowModal(dialog) != mrOk || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

void TSList::SB_LoadClick()
{
    const QString name = AskTextFile(this, false, AskFileName);
    if (name.isEmpty())
        return;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        MessageDlg(Lang3Q("Die Datei konnte nicht geöffnet werden: ",
                          "The file could not be opened: ", "Le fichier n'a pas pu être ouvert : ") +
                       name,
                   mtError, mbOK);
        return;
    }
    Memo->setPlainText(QString::fromUtf8(file.readAll()));
}

void TSList::SB_SaveClick()
{
    const QString name = AskTextFile(this, true, AskFileName);
    if (name.isEmpty())
        return;
    QString error;
    if (!WriteWholeFile(name, (Memo->toPlainText() + u'\n').toUtf8(), &error))
        MessageDlg(Lang3Q("Die Datei konnte nicht gespeichert werden: ",
                          "The file could not be saved: ",
                          "Le fichier n'a pas pu être enregistré : ") +
                       name + u'\n' + error,
                   mtError, mbOK);
}

void TSList::SB_PrintClick()
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (ShowModal(dialog) != mrOk)
        return;
    QPainter painter;
    if (!painter.begin(&printer)) {
        MessageDlg(Lang3Q("Die Stückliste kann nicht gedruckt werden.",
                          "The components list cannot be printed.",
                          "Impossible d'imprimer la liste de composants."),
                   mtError, mbOK);
        return;
    }
    QFont font = Memo->font();
    font.setPixelSize(std::max(1, printer.logicalDpiX() / 7));
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const int tab = metrics.horizontalAdvance(QStringLiteral("        "));
    int y = metrics.ascent() + 3 * metrics.lineSpacing();
    const QStringList lines = Memo->toPlainText().split(u'\n');
    for (const QString& line : lines) {
        if (y > printer.height()) {
            printer.newPage();
            y = metrics.ascent();
        }
        painter.drawText(tab, y, line);
        y += metrics.lineSpacing();
    }
    painter.end();
}

bool TSList::event(QEvent* event)
{
    if (IsHelpRequest(event)) {
        OpenHelpTopic(kHelpContext);
        return true;
    }
    return QDialog::event(event);
}
