#pragma once
// The test's hold on a fake maker's library: the program is pointed at the fake through the
// settings file (UseLibraryFile) and loads it through its own loading path; the test opens the
// same shared object, and so reaches the same loaded copy, to set up devices and read the
// call log through the fake's own test entries.

#include "platform/Context.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

#include <QString>

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

// Names a shared object for a maker's Windows library in "Settings\LIBRARIES.INI" of the
// program folder (an empty file name removes the entry).
inline void UseLibraryFile(const QString& windowsName, const QString& file)
{
    TIniFile ini(ProgramPath(QStringLiteral("Settings\\LIBRARIES.INI")));
    if (file.isEmpty())
        ini.DeleteKey(QStringLiteral("Libraries"), windowsName);
    else
        ini.WriteString(QStringLiteral("Libraries"), windowsName, file);
    ASSERT_TRUE(ini.UpdateFile());
}

class TFakeLibraryFile {
public:
    // Opens the fake and calls its reset entry.
    TFakeLibraryFile(const char* file, const char* resetEntry) : File(QString::fromLocal8Bit(file))
    {
        m_handle = dlopen(file, RTLD_NOW | RTLD_LOCAL);
        if (!m_handle) {
            ADD_FAILURE() << "the fake library does not load: " << dlerror();
            return;
        }
        Function<void()>(resetEntry)();
    }
    ~TFakeLibraryFile()
    {
        if (m_handle)
            dlclose(m_handle);
    }
    TFakeLibraryFile(const TFakeLibraryFile&) = delete;
    TFakeLibraryFile& operator=(const TFakeLibraryFile&) = delete;

    const QString File;

    // One of the fake's entries (its own test entries included).
    template <class Signature>
    Signature* Function(const char* name)
    {
        auto* function = reinterpret_cast<Signature*>(m_handle ? dlsym(m_handle, name) : nullptr);
        if (!function)
            throw std::runtime_error(std::string("no ") + name + " in the fake library");
        return function;
    }

protected:
    // The lines of a call log, one call each.
    static std::vector<std::string> LogLines(const char* log)
    {
        std::vector<std::string> lines;
        std::istringstream stream(log);
        for (std::string line; std::getline(stream, line);)
            lines.push_back(line);
        return lines;
    }

private:
    void* m_handle = nullptr;
};
