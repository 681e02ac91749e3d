#include "platform/DynamicLibrary.h"

#include <QFile>

#include <dlfcn.h>

namespace {

class TSharedObject : public TDynamicLibrary {
public:
    explicit TSharedObject(void* handle) : m_handle(handle) {}
    ~TSharedObject() override { dlclose(m_handle); }
    void* Symbol(const char* name) const override { return dlsym(m_handle, name); }

private:
    void* m_handle;
};

std::unique_ptr<TDynamicLibrary> OpenSharedObject(const QString& path, QString* error,
                                                  bool systemSearch)
{
    // A name without a folder makes dlopen search the system's library folders; a user's
    // library named without one is meant in the current folder.
    const bool bare = !path.contains(u'/');
    const QByteArray name = QFile::encodeName(bare && !systemSearch ? QStringLiteral("./") + path : path);
    void* handle = path.isEmpty() ? nullptr : dlopen(name.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        if (error) {
            const char* reason = path.isEmpty() ? nullptr : dlerror();
            *error = reason ? QString::fromLocal8Bit(reason) : QString();
        }
        return nullptr;
    }
    return std::make_unique<TSharedObject>(handle);
}

TLibraryLoader& Loader()
{
    static TLibraryLoader loader;
    return loader;
}

} // namespace

std::unique_ptr<TDynamicLibrary> LoadDynamicLibrary(const QString& path, QString* error)
{
    return Loader() ? Loader()(path, error) : OpenSharedObject(path, error, false);
}

std::unique_ptr<TDynamicLibrary> LoadSystemLibrary(const QString& name, QString* error)
{
    return Loader() ? Loader()(name, error) : OpenSharedObject(name, error, true);
}

void SetLibraryLoader(TLibraryLoader loader)
{
    Loader() = std::move(loader);
}
