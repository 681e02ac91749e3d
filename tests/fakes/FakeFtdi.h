#pragma once
// The test's side of the fake FTDI library (FakeFtdiLibrary.cpp): the program is pointed at
// the fake through the settings file, loads it through its own loading path, and the test
// reaches the same loaded copy to set up devices and answers and to read the call log.

#include "fakes/FakeLibraryFile.h"

#include <string>
#include <vector>

class TFakeFtdi : public TFakeLibraryFile {
public:
    explicit TFakeFtdi(const char* file = FAKE_FTDI_LIBRARY) : TFakeLibraryFile(file, "FakeFtdi_Reset") {}

    void AddDevice(const char* description)
    {
        Function<void(const char*)>("FakeFtdi_AddDevice")(description);
    }
    // The device answers `answer` whenever it has received `request`.
    void AddAnswer(const std::string& request, const std::string& answer)
    {
        Function<void(const uint8_t*, int, const uint8_t*, int)>("FakeFtdi_AddAnswer")(
            reinterpret_cast<const uint8_t*>(request.data()), int(request.size()),
            reinterpret_cast<const uint8_t*>(answer.data()), int(answer.size()));
    }
    // Every call of the library so far, one line each ("FT_Open 0").
    std::vector<std::string> Calls() { return LogLines(Function<const char*()>("FakeFtdi_CallLog")()); }
};
