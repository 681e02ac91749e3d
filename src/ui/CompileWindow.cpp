#include "ui/CompileWindow.h"

#include "platform/Help.h"
#include "platform/Context.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "platform/Paths.h"
#include "ui/Formats.h"
#include "widgets/BrowseDlg.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWhatsThis>

namespace {

constexpr int SC_CONTEXTHELP = 61824;
constexpr int kHelpTopic = 45000;

QLabel* NavyLabel(const char* name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, QColor(0, 0, 128));
    label->setPalette(pal);
    return label;
}

} // namespace

TCompiler::TCompiler(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                          | Qt::WindowContextHelpButtonHint | Qt::WindowCloseButtonHint)
{
    setObjectName(u"TCompiler"_qs);
    QFont f(u"MS Sans Serif"_qs);
    f.setPixelSize(11);
    setFont(f);

    Label5 = NavyLabel("Label5", this);
    Label5->setWordWrap(true);
    Label1 = NavyLabel("Label1", this);
    Label1->setWordWrap(true);
    CompilePath = new QLineEdit(this);
    CompilePath->setObjectName(u"CompilePath"_qs);
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(u"SpeedButton1"_qs);
    SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    SpeedButton1->setAutoRaise(true);
    Label2 = NavyLabel("Label2", this);
    FileEdit = new QLineEdit(this);
    FileEdit->setObjectName(u"FileEdit"_qs);
    Label3 = new QLabel(u".exe"_qs, this);
    Label3->setObjectName(u"Label3"_qs);
    Label4 = new QLabel(u"Status:"_qs, this);
    Label4->setObjectName(u"Label4"_qs);
    StatusLines = new QListWidget(this);
    StatusLines->setObjectName(u"StatusLines"_qs);
    QPalette listPalette = StatusLines->palette();
    listPalette.setColor(QPalette::Base, listPalette.color(QPalette::Button));
    StatusLines->setPalette(listPalette);

    CancelBtn = new QPushButton(this);
    CancelBtn->setObjectName(u"CancelBtn"_qs);
    CancelBtn->setAutoDefault(false);
    StartBtn = new QPushButton(this);
    StartBtn->setObjectName(u"StartBtn"_qs);
    StartBtn->setAutoDefault(false);
    CompileBtn = new QPushButton(this);
    CompileBtn->setObjectName(u"CompileBtn"_qs);
    CompileBtn->setDefault(true);

    BrowseDlg = std::make_unique<TWLXBrowseDlg>(this);

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(CompilePath, 1);
    pathRow->addWidget(SpeedButton1);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(FileEdit, 1);
    fileRow->addWidget(Label3);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CancelBtn);
    buttons->addStretch();
    buttons->addWidget(StartBtn);
    buttons->addWidget(CompileBtn);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label5);
    layout->addSpacing(8);
    layout->addWidget(Label1);
    layout->addLayout(pathRow);
    layout->addWidget(Label2);
    layout->addLayout(fileRow);
    layout->addWidget(Label4);
    layout->addWidget(StatusLines, 1);
    layout->addLayout(buttons);
    resize(448, 387);

    connect(CancelBtn, &QPushButton::clicked, this, [this] { CancelBtnClick(); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });

    setWindowTitle(u"Compiler"_qs);
    Label5->setText(u"Der Compiler macht aus Ihrem Projekt ein eigenständiges Programm, das auch "
                    "ohne Tavrinol lauffähig ist..."_qs);
    Label1->setText(u"Das Projekt wird in diesen Ordner compiliert. Der Ordner wird ggf. "
                    "angelegt."_qs);
    Label2->setText(u"Name der ausführbaren Datei: (ohne Endung)"_qs);
    CancelBtn->setText(u"&Schliessen"_qs);
    StartBtn->setText(u"Compilieren + &Starten"_qs);
    CompileBtn->setText(u"&Compilieren"_qs);
    TranslateCaptions();
}

TCompiler::~TCompiler() = default;

void TCompiler::TranslateCaptions()
{
    const int lang = Ctx().CurrentLanguage;
    if (lang != 1 && lang != 2)
        return;
    const bool en = lang == 1;
    auto t = [en](const char* english, const char* french) {
        return QString::fromUtf8(en ? english : french);
    };
    Label5->setText(t("The compiler creates an executable file from your project, that can be "
                      "run without having Tavrinol installed.",
                      "Le compilateur créé un fichier exécutable à partir de votre projet, "
                      "lequel pourra être lancé sans avoir besoin de disposer de Tavrinol."));
    Label1->setText(t("The project is compiled to this directory. The directory will be "
                      "created, if necessary.",
                      "Le projet est compilé dans ce répertoire. Le répertoire sera créé, si "
                      "nécessaire."));
    Label2->setText(t("Name of executable file. (without extension)",
                      "Nom du fichier exécutable. (sans extension)"));
    CancelBtn->setText(t("&Close", "&Fermer"));
    CompileBtn->setText(t("C&ompile", "C&ompiler"));
    StartBtn->setText(t("Compile + &Run", "Compiler + &Exécuter"));
}

void TCompiler::FormShow()
{
    StatusLines->clear();
}

void TCompiler::SpeedButton1Click()
{
    const QString start = CompilePath->text();
    if (!start.isEmpty())
        BrowseDlg->SetSelectedFolder(ResolvePath(start));
    if (!BrowseDlg->Execute() || BrowseDlg->SelectedFolder().isEmpty())
        return;
    QString folder = BrowseDlg->SelectedFolder();
    // The path keeps the separator style of the chosen folder.
    const QChar sep = folder.contains(u'\\') && !folder.contains(u'/') ? u'\\' : u'/';
    if (!folder.endsWith(u'/') && !folder.endsWith(u'\\'))
        folder += sep;
    CompilePath->setText((folder + FolderName + sep).toLower());
}

void TCompiler::CancelBtnClick()
{
    reject();
}

bool TCompiler::WMSysCommand(int command)
{
    if (command != SC_CONTEXTHELP)
        return false;
    ShowHelp(kHelpTopic);
    return true;
}

void TCompiler::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

bool TCompiler::event(QEvent* event)
{
    if (IsHelpRequest(event)) {
        WMSysCommand(SC_CONTEXTHELP);
        return true;
    }
    return QDialog::event(event);
}
