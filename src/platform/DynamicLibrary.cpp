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

std::unique_ptr<TDynamicLibrary> OpenSharedObject(const QString& path, QString* error)
{
    // A name without a folder would make dlopen search the system's library folders.
    const QByteArray name = QFile::encodeName(path.contains(u'/') ? path : QStringLiteral("./") + path);
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
    return Loader() ? Loader()(path, error) : OpenSharedObject(path, error);
}

void SetLibraryLoader(TLibraryLoader loader)
{
    Loader() = std::move(loader);
}
