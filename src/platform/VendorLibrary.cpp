#include "platform/VendorLibrary.h"

#include "platform/Context.h"
#include "platform/DynamicLibrary.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

#include <algorithm>

namespace {

// Makers' libraries for Linux that export the entry points of their Windows libraries.
struct TLinuxLibrary {
    const char* windowsName;
    const char* linuxNames;  // blank-separated
};

const TLinuxLibrary kLinuxLibraries[] = {
    {"FTD2XX.dll", "libftd2xx.so libftd2xx.so.1"}, // FTDI's D2XX library
    {"iowkit.dll", "libiowkit.so libiowkit.so.1"}, // Code Mercenaries' IO-Warrior kit
};

std::vector<TVendorLibrary*>& Libraries()
{
    static std::vector<TVendorLibrary*> libraries;
    return libraries;
}

// The user's choice of a shared object for a Windows library name.
QString UserLibraryFor(const QString& windowsName)
{
    if (Ctx().ProgramFolder.isEmpty())
        return {};
    const TIniFile ini(ProgramPath(QStringLiteral("Settings\\LIBRARIES.INI")));
    return ini.ReadString(QStringLiteral("Libraries"), windowsName, QString()).trimmed();
}

} // namespace

QStringList VendorLibraryLinuxNames(const QString& windowsName)
{
    for (const TLinuxLibrary& entry : kLinuxLibraries)
        if (windowsName.compare(QLatin1String(entry.windowsName), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(entry.linuxNames).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return {};
}

TVendorLibrary::TVendorLibrary(QString windowsName, bool unloadAtExit)
    : m_windowsName(std::move(windowsName)), m_unloadAtExit(unloadAtExit)
{
    Libraries().push_back(this);
}

TVendorLibrary::~TVendorLibrary()
{
    auto& all = Libraries();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

size_t TVendorLibrary::AddEntry(const char* name)
{
    m_names.push_back(name);
    m_addresses.push_back(nullptr);
    return m_names.size() - 1;
}

QStringList TVendorLibrary::Candidates() const
{
    QStringList files;
    const QString user = UserLibraryFor(m_windowsName);
    if (!user.isEmpty()) {
        // A name with a folder is a file (a relative one under the program folder); a bare
        // name is looked for in the program folder, then where the system keeps libraries.
        if (user.contains(QLatin1Char('/')) || user.contains(QLatin1Char('\\'))) {
            files << ResolvePath(user, Ctx().ProgramFolder);
        } else {
            files << Ctx().ProgramFolder + user << user;
        }
    }
    files << VendorLibraryLinuxNames(m_windowsName);
    return files;
}

bool TVendorLibrary::Load()
{
    if (m_library)
        return true;
    const QStringList files = Candidates();
    QStringList reasons;
    for (const QString& file : files) {
        QString reason;
        auto library = LoadSystemLibrary(file, &reason);
        if (!library) {
            if (!reason.isEmpty())
                reasons << reason;
            continue;
        }
        m_library = std::move(library);
        m_loadedFrom = file;
        m_lastError.clear();
        for (size_t i = 0; i < m_names.size(); ++i)
            m_addresses[i] = m_library->Symbol(m_names[i]);
        AfterLoad();
        return true;
    }
    m_lastError = (files.isEmpty()
                       ? Lang3Q("Für %1 gibt es auf diesem System keine Bibliothek.",
                                "There is no library for %1 on this system.",
                                "Il n'y a pas de bibliothèque pour %1 sur ce système.")
                             .arg(m_windowsName)
                       : Lang3Q("%1 kann nicht geladen werden.", "%1 cannot be loaded.",
                                "%1 ne peut pas être chargé.")
                             .arg(m_windowsName));
    if (!reasons.isEmpty())
        m_lastError += QLatin1Char('\n') + reasons.join(QLatin1Char('\n'));
    return false;
}

void TVendorLibrary::Free()
{
    if (m_library)
        BeforeFree();
    std::fill(m_addresses.begin(), m_addresses.end(), nullptr);
    m_library.reset();
    m_loadedFrom.clear();
}

void FreeVendorLibraries()
{
    for (TVendorLibrary* library : Libraries())
        if (library->UnloadAtExit())
            library->Free();
}
