#pragma once
// What every fake maker's library shares (each is its own shared object): a call log the test
// reads, and named settings the test sets ("devices" = 2). Included once per fake library.

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

namespace fake {

inline std::string& CallLog()
{
    static std::string log;
    return log;
}

inline std::map<std::string, int64_t>& Settings()
{
    static std::map<std::string, int64_t> settings;
    return settings;
}

// A setting of the test; fallback when it is not set.
inline int64_t Setting(const std::string& key, int64_t fallback = 0)
{
    const auto it = Settings().find(key);
    return it == Settings().end() ? fallback : it->second;
}

// One line of the log: the name and the arguments, blank-separated.
template <class... Args>
void Log(const char* name, Args... args)
{
    std::string line = name;
    ((line += ' ', line += std::to_string(args)), ...);
    CallLog() += line;
    CallLog() += '\n';
}

// The index of a handle made by Handle(index), -1 for any other pointer.
inline int64_t IndexOf(void* handle)
{
    const auto value = reinterpret_cast<uintptr_t>(handle);
    return value >= 0x1000 && value < 0x1100 ? int64_t(value - 0x1000) : -1;
}
inline void* Handle(int64_t index)
{
    return reinterpret_cast<void*>(uintptr_t(0x1000 + index));
}

} // namespace fake

// The test's side, exported by every fake library; each library defines FakeLibrary_Reset and
// clears its own state there after fake::ResetShared().
inline void ResetShared()
{
    fake::CallLog().clear();
    fake::Settings().clear();
}

#define FAKE_LIBRARY_TEST_SIDE                                                                     \
    extern "C" const char* FakeLibrary_CallLog() { return fake::CallLog().c_str(); }              \
    extern "C" void FakeLibrary_Set(const char* key, int64_t value)                                \
    {                                                                                              \
        fake::Settings()[key] = value;                                                             \
    }                                                                                              \
    extern "C" void FakeLibrary_ClearCalls() { fake::CallLog().clear(); }
