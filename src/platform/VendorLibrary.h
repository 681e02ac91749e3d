#pragma once
// Makers' libraries that device drivers load at run time by their Windows file name
// ("FTD2XX.dll"). The name stands for the shared objects of this system that export the same
// entry points: first the one the user names in "Settings\LIBRARIES.INI" (section "Libraries",
// the Windows name as key), then those the maker ships for Linux (the table in
// VendorLibrary.cpp). A library is loaded on first use; a load that fails is tried again at the
// next use.
//
// A family declares its function table as a class derived from TVendorLibrary with one
// TVendorFunction member per entry point, in the order the functions are resolved:
//
//     class TFtd2xxLibrary : public TVendorLibrary {
//     public:
//         TFtd2xxLibrary() : TVendorLibrary(QStringLiteral("FTD2XX.dll")) {}
//         TVendorFunction<uint32_t(int32_t, void**)> FT_Open{*this, "FT_Open"};
//         ...
//     };
//
// A name the library does not export leaves its entry empty. An entry is reached only through
// Call, which calls nothing when the library is not loaded or the entry is empty, and says so
// in its result: a driver cannot call into a missing library or a missing function.

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

class TDynamicLibrary;

class TVendorLibrary {
public:
    // unloadAtExit: the library is released by FreeVendorLibraries at program end.
    explicit TVendorLibrary(QString windowsName, bool unloadAtExit = false);
    virtual ~TVendorLibrary();
    TVendorLibrary(const TVendorLibrary&) = delete;
    TVendorLibrary& operator=(const TVendorLibrary&) = delete;

    const QString& WindowsName() const { return m_windowsName; }
    // Loads the library and resolves every entry, unless it is loaded already. False when no
    // candidate could be loaded (LastError says why); the next call tries again.
    bool Load();
    bool IsLoaded() const { return m_library != nullptr; }
    // Releases the library; its entries become empty. Nothing when it is not loaded.
    void Free();
    bool UnloadAtExit() const { return m_unloadAtExit; }
    // The file it was loaded from; empty while not loaded.
    const QString& LoadedFrom() const { return m_loadedFrom; }
    // Why the last load failed, in the current language; empty after a success.
    const QString& LastError() const { return m_lastError; }
    // The files tried, in order: the user's entry in the settings file, then the maker's
    // libraries for this system.
    QStringList Candidates() const;

    // The entry names in the order they are resolved, and whether each was found.
    const std::vector<const char*>& EntryNames() const { return m_names; }
    bool HasEntry(size_t index) const { return index < m_addresses.size() && m_addresses[index]; }

protected:
    // Runs once after a successful load, with every entry resolved (a family that opens its
    // device when the library is loaded does it here).
    virtual void AfterLoad() {}
    // Runs before a loaded library is released, its entries still there (the family's unload
    // routine closes what AfterLoad opened).
    virtual void BeforeFree() {}

private:
    friend class TVendorEntry;
    size_t AddEntry(const char* name);
    void* Address(size_t index) const { return index < m_addresses.size() ? m_addresses[index] : nullptr; }

    QString m_windowsName;
    bool m_unloadAtExit;
    std::unique_ptr<TDynamicLibrary> m_library;
    QString m_loadedFrom;
    QString m_lastError;
    std::vector<const char*> m_names;
    std::vector<void*> m_addresses;
};

// One entry of a library's function table (the typed calls are TVendorFunction).
class TVendorEntry {
public:
    TVendorEntry(TVendorLibrary& library, const char* name)
        : m_library(library), m_index(library.AddEntry(name))
    {
    }
    // Whether the library is loaded and exports this entry.
    bool Present() const { return m_library.HasEntry(m_index); }
    const char* Name() const { return m_library.m_names[m_index]; }

protected:
    void* Address() const { return m_library.Address(m_index); }

private:
    TVendorLibrary& m_library;
    size_t m_index;
};

template <class Signature>
class TVendorFunction;

template <class R, class... Args>
class TVendorFunction<R(Args...)> : public TVendorEntry {
public:
    using TVendorEntry::TVendorEntry;
    using TResult = std::conditional_t<std::is_void_v<R>, bool, std::optional<R>>;

    // Calls the entry when it is there. For a function with a result: the result, or nothing
    // when the entry is empty. For one without: whether it was called.
    TResult Call(Args... args) const
    {
        auto* function = reinterpret_cast<R (*)(Args...)>(Address());
        if constexpr (std::is_void_v<R>) {
            if (!function)
                return false;
            function(args...);
            return true;
        } else {
            if (!function)
                return std::nullopt;
            return function(args...);
        }
    }
};

// The Linux shared objects that export the entry points of a maker's Windows library, by the
// Windows name (compared without regard to case); empty when the maker ships none.
QStringList VendorLibraryLinuxNames(const QString& windowsName);

// Releases every loaded library that has an unload routine (at program end).
void FreeVendorLibraries();
