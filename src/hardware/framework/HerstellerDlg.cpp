#include "hardware/framework/HerstellerDlg.h"

#include "hardware/framework/BtHardware.h"
#include "hardware/framework/IoInterface.h"
#include "platform/Context.h"
#include "platform/IniFile.h"
#include "platform/ModalDialogs.h"
#include "widgets/WebView.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

THerstellerDlg::THerstellerDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("HerstellerInfo"));
    resize(677, 516);
    GroupBox1 = new QGroupBox(
        Lang3Q("Internet aufrufen...", "Retrieve information from...", "Recherchez l´information de..."),
        this);
    auto* grid = new QGridLayout(GroupBox1);
    QLineEdit** edits[] = {&LinkEdit1, &LinkEdit2, &LinkEdit3};
    QPushButton** buttons[] = {&ConnectBtn, &Button2, &Button3};
    for (int k = 0; k < 3; ++k) {
        QLineEdit* edit = new QLineEdit(GroupBox1);
        edit->setFrame(false);
        edit->setAutoFillBackground(true);
        QPalette p = edit->palette();
        p.setColor(QPalette::Base, p.color(QPalette::ToolTipBase));
        edit->setPalette(p);
        QPushButton* button = new QPushButton(QStringLiteral("Link %1").arg(k + 1), GroupBox1);
        button->setAutoDefault(false);
        grid->addWidget(edit, k, 0);
        grid->addWidget(button, k, 1);
        *edits[k] = edit;
        *buttons[k] = button;
        // Each button opens what its field holds, whatever that is.
        connect(button, &QPushButton::clicked, this, [this, edit] { WebBrowser1->Navigate(edit->text()); });
    }
    grid->setColumnStretch(0, 1);
    WebBrowser1 = new TWebView(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addWidget(WebBrowser1, 1);
}

QString THerstellerDlg::FirstLink() const
{
    for (const QLineEdit* edit : {LinkEdit1, LinkEdit2, LinkEdit3}) {
        if (!edit->text().isEmpty())
            return edit->text();
    }
    return QString();
}

void THerstellerDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Device names may hold a line break.
    QString caption = windowTitle();
    const int cr = caption.indexOf(QChar(13));
    if (cr >= 0) {
        caption[cr] = u' ';
        setWindowTitle(caption);
    }
    WebBrowser1->Navigate(FirstLink());
}

void THerstellerDlg::reject()
{
    SetModalResult(*this, 1);
    done(1);
}

void ShowManufacturerLinks(TIOInterface& device, TIniFile* links, QWidget* parent)
{
    THerstellerDlg dialog(parent);
    dialog.setWindowTitle(device.Name);
    const QString section = QString::fromLatin1(device.ClassName());
    static const char* const kKeys[] = {"Link1", "Link2", "Link3"};
    QLineEdit* const edits[] = {dialog.LinkEdit1, dialog.LinkEdit2, dialog.LinkEdit3};
    if (links) {
        for (int k = 0; k < 3; ++k)
            edits[k]->setText(links->ReadString(section, QString::fromLatin1(kKeys[k]), QString()));
    }
    dialog.setWindowState(dialog.windowState() | Qt::WindowMaximized);
    ShowModal(dialog);
    if (links) {
        for (int k = 0; k < 3; ++k)
            links->WriteString(section, QString::fromLatin1(kKeys[k]), edits[k]->text());
        links->UpdateFile();  // a failure while writing is ignored: the links stay in memory
    }
}

void ShowManufacturerLinksOf(TIOBauteil& component, TIniFile* links, QWidget* parent)
{
    auto* hardware = dynamic_cast<TBTHardware*>(&component);
    if (hardware && hardware->Interface)
        ShowManufacturerLinks(*hardware->Interface, links, parent);
}
