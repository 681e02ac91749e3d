#include "components/file/UserLibraryDlg.h"

#include "platform/Context.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/Formats.h"

#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TDLLDlg::TDLLDlg(TBTDLL& component, QWidget* parent)
    : QDialog(parent), FileName(component.LibraryFile), m_component(component)
{
    setObjectName(QStringLiteral("DLLDlg"));
    setWindowTitle(Lang3Q("DLL-Import", "DLL import", "Import DLL"));
    setFixedSize(369, 246);
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);

    auto* fileGroup = new QGroupBox(Lang3Q("DLL-Datei", "DLL file", "Fichier DLL"), this);
    FileLabel = new QLabel(fileGroup);
    FileLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    (new QVBoxLayout(fileGroup))->addWidget(FileLabel);

    ImportBtn = new QPushButton(Lang3Q("&DLL importieren...", "&Import DLL...", "&Importer DLL..."), this);
    ConfigureBtn = new QPushButton(Lang3Q("&Einstellungen...", "&Configure...", "&Configurer..."), this);
    ConfigureBtn->setEnabled(false);

    auto* functionGroup = new QGroupBox(
        Lang3Q("Importierte Funktionen", "Imported functions", "Fonctions importées"), this);
    Functions = new QPlainTextEdit(functionGroup);
    Functions->setReadOnly(true);
    (new QVBoxLayout(functionGroup))->addWidget(Functions);

    OKBtn = new QPushButton(QStringLiteral("&OK"), this);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(Lang3Q("&Abbrechen", "&Cancel", "&Annuler"), this);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ImportBtn);
    buttons->addWidget(ConfigureBtn);
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto* groups = new QVBoxLayout;
    groups->addWidget(fileGroup);
    groups->addWidget(functionGroup, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(groups, 1);
    layout->addLayout(buttons);

    connect(ImportBtn, &QPushButton::clicked, this, [this] { ImportClick(); });
    connect(ConfigureBtn, &QPushButton::clicked, this, [this] { ConfigureClick(); });
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    Refresh();
}

TDLLDlg::~TDLLDlg() = default;

void TDLLDlg::Refresh()
{
    using E = TUserLibrary;
    Functions->clear();
    m_library.Load(FileName);
    // A long path keeps its beginning and its file name; the whole path is the tool tip.
    FileLabel->setText(FileName.isEmpty()
                           ? Lang3Q("Keine DLL-Datei geladen.", "No DLL file loaded.", "")
                           : FileLabel->fontMetrics().elidedText(FileName, Qt::ElideMiddle, 190));
    FileLabel->setToolTip(FileName);
    QStringList lines;
    if (m_library.Has(E::NumInputs))
        lines << QStringLiteral("NumInputs = %1").arg(m_library.Get<TvCount>(E::NumInputs)());
    if (m_library.Has(E::NumOutputs))
        lines << QStringLiteral("NumOutputs = %1").arg(m_library.Get<TvCount>(E::NumOutputs)());
    for (E::TEntry e : {E::NumInputsEx, E::NumOutputsEx, E::CNumInputsEx, E::CNumOutputsEx,
                        E::InputName, E::GetInputName, E::OutputName, E::GetOutputName,
                        E::SimStart, E::SimStop, E::CSimStart, E::CSimStop, E::Calculate,
                        E::CCalculate, E::CalculateEx, E::CCalculateEx, E::Configure,
                        E::CConfigure})
        if (m_library.Has(e))
            lines << QString::fromLatin1(E::Names[e]);
    ConfigureBtn->setEnabled(m_library.Has(E::Configure) || m_library.Has(E::CConfigure));
    if (lines.isEmpty()) {
        if (!m_library.Error().isEmpty() && !FileName.isEmpty())
            lines << m_library.Error();
        else if (Ctx().CurrentLanguage < 2)
            lines << Lang3Q("Keine Funktionen importiert.", "No functions imported.", "");
    }
    Functions->setPlainText(lines.join(QLatin1Char('\n')));
}

void TDLLDlg::ImportClick()
{
    QFileDialog dlg(this);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setNameFilter(Lang3Q("Gemeinsame Bibliotheken (*.so)", "Shared libraries (*.so)",
                             "Bibliothèques partagées (*.so)"));
    dlg.setDefaultSuffix(QStringLiteral("so"));
    if (!FileName.isEmpty())
        dlg.setDirectory(QFileInfo(FileName).absolutePath());
    if (ShowModal(dlg) == mrOk && !dlg.selectedFiles().isEmpty()) {
        FileName = dlg.selectedFiles().constFirst();
        Refresh();
    }
}

void TDLLDlg::ConfigureClick()
{
    if (m_library.Has(TUserLibrary::Configure))
        m_library.Get<TvConfigure>(TUserLibrary::Configure)(m_component.ExtUser.data());
    if (m_library.Has(TUserLibrary::CConfigure))
        m_library.Get<TvCConfigure>(TUserLibrary::CConfigure)(m_component.DblUser.data());
    Refresh();
}

bool TDLLDlg::event(QEvent* e)
{
    if (e->type() == QEvent::EnterWhatsThisMode) {
        ShowHelp(18515);
        return true;
    }
    return QDialog::event(e);
}
