#pragma once
// Program-wide flags that many parts of the system read. One instance; tests reset it.

#include <QString>
#include <cstdint>

class IClock;

struct TProgramContext {
    uint8_t CurrentLanguage = 0;     // 0 German, 1 English, 2 French
    bool SimRunning = false;         // a run is active
    bool RuntimeMode = false;        // the program runs as a compiled project
    bool ColorSymbols = true;        // body gradients on
    bool LoadingFromLibrary = false; // stored labels are ignored while library items are read
    bool LibraryLoading = false;     // a library file is being read
    int32_t SimFrequency = 0;        // steps per second, measured once a second
    int64_t PerfFrequency = 1000000000; // ticks per second of the performance counter
    QString ProgramFolder;           // with a trailing '/'
    QString ProjectFolder;
};

// The one context of the running program.
TProgramContext& Ctx();

// Puts every flag back to its start value (tests call this between cases).
void ResetContext();

// Picks one of three texts by the current language; any other language value gives the German.
const char* Lang3(const char* german, const char* english, const char* french);
QString Lang3Q(const char* german, const char* english, const char* french);
