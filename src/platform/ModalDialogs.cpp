#include "platform/ModalDialogs.h"

#include "platform/MessageBox.h"

#include <QDialog>
#include <QVariant>
#include <cstdio>

namespace {

TDialogResponder g_responder;
const char* const kResultProperty = "tavrinolModalResult";

} // namespace

void SetModalResult(QDialog& dialog, int result)
{
    dialog.setProperty(kResultProperty, result);
}

int ShowModal(QDialog& dialog)
{
    dialog.setProperty(kResultProperty, QVariant());
    if (g_responder)
        return g_responder(dialog);
    if (IsHeadlessSession()) {
        std::fprintf(stderr, "[dialog] %s: cancelled (no one to answer)\n",
                     qPrintable(dialog.windowTitle()));
        return mrCancel;
    }
    const int code = dialog.exec();
    const QVariant explicitResult = dialog.property(kResultProperty);
    if (explicitResult.isValid())
        return explicitResult.toInt();
    return code == QDialog::Accepted ? mrOk : mrCancel;
}

void SetDialogResponder(TDialogResponder responder)
{
    g_responder = std::move(responder);
}

TScopedDialogResponder::TScopedDialogResponder()
    : m_previous(g_responder)
{
    g_responder = [this](QDialog& d) { return Respond(d); };
}

TScopedDialogResponder::~TScopedDialogResponder()
{
    g_responder = m_previous;
}

void TScopedDialogResponder::Answer(std::function<int(QDialog&)> handler)
{
    m_handlers.push_back(std::move(handler));
}

void TScopedDialogResponder::AnswerResult(int result)
{
    m_handlers.push_back([result](QDialog&) { return result; });
}

int TScopedDialogResponder::Respond(QDialog& dialog)
{
    ++m_count;
    m_titles << dialog.windowTitle();
    if (m_handlers.empty())
        return mrCancel;
    auto handler = std::move(m_handlers.front());
    m_handlers.pop_front();
    return handler(dialog);
}
