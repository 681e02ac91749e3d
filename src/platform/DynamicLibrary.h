#pragma once
// Shared libraries loaded at run time (dlopen): a loaded library answers the addresses of its
// exported symbols and is released with the object. Tests install a loader of their own.

#include <QString>

#include <functional>
#include <memory>

class TDynamicLibrary {
public:
    virtual ~TDynamicLibrary() = default;
    // The address of an exported symbol; nullptr when the library has none of that name.
    virtual void* Symbol(const char* name) const = 0;
};

// Loads the library at path; nullptr with *error (the system's reason) when that fails.
using TLibraryLoader =
    std::function<std::unique_ptr<TDynamicLibrary>(const QString& path, QString* error)>;

std::unique_ptr<TDynamicLibrary> LoadDynamicLibrary(const QString& path, QString* error);
// Loads a library by its bare file name ("libftd2xx.so") from the system's library folders,
// as the dynamic linker searches them; a name with a folder is taken as it stands.
std::unique_ptr<TDynamicLibrary> LoadSystemLibrary(const QString& name, QString* error);
// Installs a loader; an empty one restores dlopen.
void SetLibraryLoader(TLibraryLoader loader);
