#include "platform/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace {

std::unique_ptr<QTranslator>& Installed()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

} // namespace

bool InstallQtTranslations(int language, const QString& folder)
{
    std::unique_ptr<QTranslator>& installed = Installed();
    if (installed) {
        QCoreApplication::removeTranslator(installed.get());
        installed.reset();
    }
    const char* code = language == 0 ? "de" : language == 2 ? "fr" : nullptr;
    if (!code)
        return true;
    const QString from =
        folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_") + QLatin1String(code), from))
        return false;
    QCoreApplication::installTranslator(translator.get());
    installed = std::move(translator);
    return true;
}
