#include "ui/HelpWindow.h"

#include "platform/Context.h"
#include "platform/Help.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QPointer>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QPointer<THelpWindow> g_window;

} // namespace

THelpWindow::THelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(Lang3Q("Tavrinol – Hilfe", "Tavrinol – Help", "Tavrinol – Aide"));
    resize(720, 560);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* strip = new QHBoxLayout;
    auto button = [this, strip](const QString& text, QStyle::StandardPixmap icon) {
        auto* b = new QToolButton(this);
        b->setText(text);
        b->setIcon(style()->standardIcon(icon));
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setAutoRaise(true);
        strip->addWidget(b);
        return b;
    };
    BackBtn = button(Lang3Q("Zurück", "Back", "Retour"), QStyle::SP_ArrowBack);
    ForwardBtn = button(Lang3Q("Vor", "Forward", "Suivant"), QStyle::SP_ArrowForward);
    ContentsBtn = button(Lang3Q("Inhalt", "Contents", "Sommaire"), QStyle::SP_DirHomeIcon);
    strip->addStretch(1);
    layout->addLayout(strip);
    Browser = new QTextBrowser(this);
    // Links are followed here; nothing goes to the network.
    Browser->setOpenLinks(false);
    Browser->setOpenExternalLinks(false);
    layout->addWidget(Browser, 1);
    BackBtn->setEnabled(false);
    ForwardBtn->setEnabled(false);
    connect(BackBtn, &QToolButton::clicked, Browser, &QTextBrowser::backward);
    connect(ForwardBtn, &QToolButton::clicked, Browser, &QTextBrowser::forward);
    connect(ContentsBtn, &QToolButton::clicked, this, [this] {
        if (m_contents.isValid())
            Browser->setSource(m_contents);
    });
    connect(Browser, &QTextBrowser::backwardAvailable, BackBtn, &QToolButton::setEnabled);
    connect(Browser, &QTextBrowser::forwardAvailable, ForwardBtn, &QToolButton::setEnabled);
    connect(Browser, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) { LinkClicked(link); });
}

bool THelpWindow::ShowPage(const QUrl& page)
{
    const QFileInfo file(page.toLocalFile());
    if (!page.isLocalFile() || !file.isReadable())
        return false;
    m_contents = QUrl::fromLocalFile(file.absolutePath() + QStringLiteral("/index.html"));
    Browser->setSource(page);
    show();
    raise();
    activateWindow();
    return true;
}

void THelpWindow::LinkClicked(const QUrl& link)
{
    const QUrl target = Browser->source().resolved(link);
    // Pages and places in pages of the help; other addresses are not followed.
    if (target.isLocalFile() && QFileInfo(target.toLocalFile()).isFile())
        Browser->setSource(target);
}

THelpWindow* HelpWindow()
{
    return g_window;
}

void InstallHelpWindow()
{
    SetHelpViewer([](const QUrl& page) {
        if (!g_window)
            g_window = new THelpWindow;
        return g_window->ShowPage(page);
    });
}
