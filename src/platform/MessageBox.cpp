#include "platform/MessageBox.h"

#include "platform/Context.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <mutex>

namespace {

std::mutex g_responderMutex;
TMessageResponder g_responder;

TMessageResponder CurrentResponder()
{
    std::lock_guard lock(g_responderMutex);
    return g_responder;
}

TMessageResponder ExchangeResponder(TMessageResponder responder)
{
    std::lock_guard lock(g_responderMutex);
    std::swap(g_responder, responder);
    return responder;
}

struct TButtonInfo {
    int flag;
    int result;
    QMessageBox::ButtonRole role;
    const char* de;
    const char* en;
    const char* fr;
};

// In the order the buttons stand in the box.
const TButtonInfo kButtons[] = {
    {mbYes, mrYes, QMessageBox::YesRole, "Ja", "Yes", "Oui"},
    {mbNo, mrNo, QMessageBox::NoRole, "Nein", "No", "Non"},
    {mbOK, mrOk, QMessageBox::AcceptRole, "OK", "OK", "OK"},
    {mbCancel, mrCancel, QMessageBox::RejectRole, "Abbrechen", "Cancel", "Annuler"},
    {mbAbort, mrAbort, QMessageBox::RejectRole, "Abbrechen", "Abort", "Abandonner"},
    {mbRetry, mrRetry, QMessageBox::AcceptRole, "Wiederholen", "Retry", "Réessayer"},
    {mbIgnore, mrIgnore, QMessageBox::AcceptRole, "Ignorieren", "Ignore", "Ignorer"},
};

// The answer when nobody chooses. Retry comes last so that an unattended run cannot loop.
int FirstResultOf(TMsgDlgButtons buttons)
{
    static const int order[][2] = {{mbOK, mrOk},       {mbYes, mrYes},       {mbCancel, mrCancel},
                                   {mbNo, mrNo},       {mbAbort, mrAbort},   {mbIgnore, mrIgnore},
                                   {mbRetry, mrRetry}};
    for (const auto& entry : order) {
        if (buttons & entry[0])
            return entry[1];
    }
    return mrOk;
}

bool ResultAllowed(TMsgDlgButtons buttons, int result)
{
    for (const TButtonInfo& b : kButtons) {
        if (b.result == result)
            return (buttons & b.flag) != 0;
    }
    return false;
}

QMessageBox::Icon IconOf(TMsgDlgType type)
{
    switch (type) {
    case mtWarning:
        return QMessageBox::Warning;
    case mtError:
        return QMessageBox::Critical;
    case mtInformation:
        return QMessageBox::Information;
    case mtConfirmation:
        return QMessageBox::Question;
    case mtCustom:
        break;
    }
    return QMessageBox::NoIcon;
}

int ShowBox(const TMessageRequest& request)
{
    QMessageBox box(IconOf(request.type), request.caption, request.text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    QAbstractButton* escape = nullptr;
    QAbstractButton* escapeNo = nullptr;
    QAbstractButton* escapeOk = nullptr;
    std::vector<std::pair<QAbstractButton*, int>> results;
    for (const TButtonInfo& b : kButtons) {
        if (!(request.buttons & b.flag))
            continue;
        QPushButton* button = box.addButton(Lang3Q(b.de, b.en, b.fr), b.role);
        results.emplace_back(button, b.result);
        if (b.result == request.defaultResult)
            box.setDefaultButton(button);
        if (b.result == mrCancel)
            escape = button;
        else if (b.result == mrNo)
            escapeNo = button;
        else if (b.result == mrOk)
            escapeOk = button;
    }
    if (!escape)
        escape = escapeNo ? escapeNo : escapeOk;
    if (escape)
        box.setEscapeButton(escape);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    for (const auto& [button, result] : results) {
        if (button == clicked)
            return result;
    }
    return mrCancel; // closed without a button
}

int Ask(const QString& text, const QString& caption, TMsgDlgType type, TMsgDlgButtons buttons,
        int defaultResult)
{
    if ((buttons & (mbYes | mbNo | mbOK | mbCancel | mbAbort | mbRetry | mbIgnore)) == 0)
        buttons = mbOK;
    TMessageRequest request;
    request.text = text;
    request.caption = caption;
    request.type = type;
    request.buttons = buttons;
    request.defaultResult = ResultAllowed(buttons, defaultResult) ? defaultResult
                                                                  : FirstResultOf(buttons);

    if (const TMessageResponder responder = CurrentResponder())
        return responder(request);
    if (IsHeadlessSession()) {
        const QByteArray line =
            QStringLiteral("[message] %1: %2\n").arg(request.caption, request.text).toUtf8();
        std::fputs(line.constData(), stderr);
        std::fflush(stderr);
        return request.defaultResult;
    }
    return ShowBox(request);
}

QString ApplicationTitle()
{
    const QString title = QGuiApplication::applicationDisplayName();
    return title.isEmpty() ? QStringLiteral("Tavrinol") : title;
}

} // namespace

QString MessageCaption(TMsgDlgType type)
{
    switch (type) {
    case mtWarning:
        return Lang3Q("Warnung", "Warning", "Avertissement");
    case mtError:
        return Lang3Q("Fehler", "Error", "Erreur");
    case mtInformation:
        return Lang3Q("Information", "Information", "Information");
    case mtConfirmation:
        return Lang3Q("Bestätigen", "Confirm", "Confirmation");
    case mtCustom:
        break;
    }
    return ApplicationTitle();
}

int MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext,
               int defaultResult)
{
    return Ask(text, MessageCaption(type), type, buttons, defaultResult);
}

void ShowMessage(const QString& text)
{
    Ask(text, ApplicationTitle(), mtCustom, mbOK, mrOk);
}

int MessageBoxText(const QString& text, const QString& caption, TMsgDlgButtons buttons,
                   TMsgDlgType type)
{
    return Ask(text, caption, type, buttons, mrNone);
}

void MessageBoxAfterStep(const QString& text, const QString& caption, TMsgDlgType type)
{
    const QString shown = caption.isEmpty() ? MessageCaption(type) : caption;
    if (!QCoreApplication::instance()) {
        Ask(text, shown, type, mbOK, mrOk);
        return;
    }
    QTimer::singleShot(0, QCoreApplication::instance(),
                       [text, shown, type] { Ask(text, shown, type, mbOK, mrOk); });
}

void SetMessageResponder(TMessageResponder responder)
{
    ExchangeResponder(std::move(responder));
}

TScopedMessageResponder::TScopedMessageResponder()
{
    m_previous = ExchangeResponder([this](const TMessageRequest& r) { return Respond(r); });
}

TScopedMessageResponder::~TScopedMessageResponder()
{
    ExchangeResponder(std::move(m_previous));
}

void TScopedMessageResponder::Answer(int result)
{
    m_answers.push_back(result);
}

int TScopedMessageResponder::Respond(const TMessageRequest& request)
{
    m_requests.push_back(request);
    if (m_answers.empty())
        return request.defaultResult;
    const int result = m_answers.front();
    m_answers.pop_front();
    return result;
}

bool IsHeadlessSession()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return true;
    // Widgets live in the GUI thread only; a window asked for elsewhere cannot be shown.
    if (QThread::currentThread() != QCoreApplication::instance()->thread())
        return true;
    const QString platform = QGuiApplication::platformName();
    return platform == u"offscreen" || platform == u"minimal";
}
