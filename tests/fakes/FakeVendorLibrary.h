#pragma once
// The test's side of the fake makers' libraries built on FakeLibrarySupport.h (FTLib, Velleman,
// Quancom, IO-Warrior, Phidgets): named settings of the fake devices and the call log.

#include "fakes/FakeLibraryFile.h"

#include <string>
#include <vector>

class TFakeVendorLibrary : public TFakeLibraryFile {
public:
    explicit TFakeVendorLibrary(const char* file) : TFakeLibraryFile(file, "FakeLibrary_Reset") {}

    // A named setting of the fake devices ("devices", "input" ...).
    void Set(const char* key, int64_t value)
    {
        Function<void(const char*, int64_t)>("FakeLibrary_Set")(key, value);
    }
    // Every call of the library so far, one line each ("OpenDevice 0").
    std::vector<std::string> Calls() { return LogLines(Function<const char*()>("FakeLibrary_CallLog")()); }
    void ClearCalls() { Function<void()>("FakeLibrary_ClearCalls")(); }
};
