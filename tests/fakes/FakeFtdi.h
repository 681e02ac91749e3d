#pragma once
// The test's side of the fake FTDI library (FakeFtdiLibrary.cpp): the program is pointed at
// the fake through the settings file, loads it through its own loading path, and the test
// reaches the same loaded copy to set up devices and answers and to read the call log.

#include "platform/Context.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

#include <QString>

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <sstream>
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

class TFakeFtdi {
public:
    explicit TFakeFtdi(const char* file = FAKE_FTDI_LIBRARY) : File(QString::fromLocal8Bit(file))
    {
        m_handle = dlopen(file, RTLD_NOW | RTLD_LOCAL);
        if (!m_handle) {
            ADD_FAILURE() << "the fake library does not load: " << dlerror();
            return;
        }
        Function<void()>("FakeFtdi_Reset")();
    }
    ~TFakeFtdi()
    {
        if (m_handle)
            dlclose(m_handle);
    }
    TFakeFtdi(const TFakeFtdi&) = delete;
    TFakeFtdi& operator=(const TFakeFtdi&) = delete;

    const QString File;

    void AddDevice(const char* description)
    {
        Function<void(const char*)>("FakeFtdi_AddDevice")(description);
    }
    void AddDevice(const char* description, const char* serial)
    {
        Function<void(const char*, const char*)>("FakeFtdi_AddDeviceWithSerial")(description, serial);
    }
    // Device index (from 0) sends bytes of its own accord; they wait for FT_Read.
    void Send(int index, const std::string& bytes)
    {
        Function<void(int, const uint8_t*, int)>("FakeFtdi_Send")(
            index, reinterpret_cast<const uint8_t*>(bytes.data()), int(bytes.size()));
    }
    // The device answers `answer` whenever it has received `request`.
    void AddAnswer(const std::string& request, const std::string& answer)
    {
        Function<void(const uint8_t*, int, const uint8_t*, int)>("FakeFtdi_AddAnswer")(
            reinterpret_cast<const uint8_t*>(request.data()), int(request.size()),
            reinterpret_cast<const uint8_t*>(answer.data()), int(answer.size()));
    }
    // Every call of the library so far, one line each ("FT_Open 0").
    std::vector<std::string> Calls()
    {
        std::vector<std::string> lines;
        std::istringstream log(Function<const char*()>("FakeFtdi_CallLog")());
        for (std::string line; std::getline(log, line);)
            lines.push_back(line);
        return lines;
    }

private:
    template <class Signature>
    Signature* Function(const char* name)
    {
        auto* function = reinterpret_cast<Signature*>(m_handle ? dlsym(m_handle, name) : nullptr);
        if (!function)
            throw std::runtime_error(std::string("no ") + name + " in the fake library");
        return function;
    }
    void* m_handle = nullptr;
};
