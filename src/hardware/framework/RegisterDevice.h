#pragma once
// How a device class enters the program: RegisterDevice<T> enters the class under its
// description's name, every port class the description lists, its palette entry (the
// description's category) and the component class names older projects stored it under. A
// folder's Register<Folder>.cpp is made only of such lines. A class that inherits its base's
// description instead of declaring its own is refused (std::logic_error).

#include "core/model/ClassRegistry.h"
#include "hardware/framework/IoInterface.h"

#include <type_traits>

template <class T>
void RegisterDevice(TClassRegistry& registry)
{
    static_assert(std::is_base_of_v<TIOInterface, T>, "devices derive from TIOInterface");
    registry.AddDevice(T::Description, ClassEntry<T>());
}
