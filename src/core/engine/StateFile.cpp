#include "core/engine/StateFile.h"

#include "core/board/Platine.h"
#include "core/model/Iobt.h"
#include "platform/Context.h"
#include "platform/IniFile.h"

#include <algorithm>

QString ComponentStateFileName(const QString& projectFileName)
{
    const QString name = projectFileName.isEmpty()
                             ? Ctx().ProgramFolder + QStringLiteral("UNSAVED.PRJ")
                             : projectFileName;
    const qsizetype slash = std::max(name.lastIndexOf(QLatin1Char('/')),
                                     name.lastIndexOf(QLatin1Char('\\')));
    const QString folder = name.left(slash + 1);
    QString base = name.mid(slash + 1);
    const qsizetype dot = base.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        base.truncate(dot);
    return folder + base.toUpper() + QStringLiteral("_Default.set");
}

bool SaveComponentStateFile(TPlatine& topBoard, const QString& projectFileName, QString* error)
{
    TIniFile ini(ComponentStateFileName(projectFileName));
    topBoard.SaveComponentStates(ini);
    if (ini.UpdateFile())
        return true;
    if (error) {
        // The caller reports it; the file must not try again and report it a second time.
        *error = ini.LastError();
        ini.DiscardChanges();
    }
    return false;
}

void LoadComponentStateFile(TPlatine& topBoard, const QString& projectFileName)
{
    TIniFile ini(ComponentStateFileName(projectFileName));
    topBoard.LoadComponentStates(ini, false);
}
