// An INI file (settings, colour-free options, front-panel settings): every section and key
// through every typed reader, then one change written back.

#include "FuzzSupport.h"

#include "platform/IniFile.h"
#include "platform/MessageBox.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TScopedMessageResponder& boxes = FuzzSetUp();
    const QString name = WriteFuzzInput(data, size, ".ini");
    {
        TIniFile ini(name);
        for (const QString& section : ini.ReadSections()) {
            ini.ReadSectionValues(section);
            for (const QString& key : ini.ReadSection(section)) {
                ini.ReadString(section, key, QString());
                ini.ReadInteger(section, key, 0);
                ini.ReadFloat(section, key, 0.0);
                ini.ReadBool(section, key, false);
            }
        }
        ini.WriteString(QStringLiteral("Fuzz"), QStringLiteral("Key"), QStringLiteral(" value "));
        ini.DeleteKey(QStringLiteral("Options"), QStringLiteral("X"));
        ini.UpdateFile();
    }
    boxes.Clear();
    return 0;
}
