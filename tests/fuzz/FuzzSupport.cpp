#include "FuzzSupport.h"

#include "platform/Context.h"
#include "platform/Fonts.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QTemporaryDir>

TScopedMessageResponder& FuzzSetUp()
{
    static TScopedMessageResponder* boxes = nullptr;
    if (boxes)
        return *boxes;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    SetUpFonts(TFontScope::StandInsOnly);
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
    static QTemporaryDir* folder = new QTemporaryDir();
    Ctx().ProgramFolder = folder->path() + u'/';
    boxes = new TScopedMessageResponder();
    SetDialogResponder([](QDialog&) { return int(mrCancel); });
    return *boxes;
}

QString WriteFuzzInput(const uint8_t* data, size_t size, const char* suffix)
{
    const QString name = Ctx().ProgramFolder + QStringLiteral("input") + QString::fromLatin1(suffix);
    QFile file(name);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    return name;
}
