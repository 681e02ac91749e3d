#pragma once
// Facts about the computer, read fresh on every call: user, platform, folders, memory, processor,
// screen, keyboard and locale settings. On Linux they come from QSysInfo, /proc, the screen and
// the locale; values that have no Linux counterpart read as the library's "(Unbekannt)" (or 0,
// "0 %", false). Settings are never written: a program that changes NumLock, keyboard speed or the
// screen saver for the whole desktop would surprise its user, so the setters only keep the form
// data readable.

#include "widgets/WLXObject.h"

#include <QString>
#include <QStringList>
#include <cstdint>

// The processor as CPUID describes it.
class TWLXCPUInfoObject : public TWLXObject {
public:
    struct Registers {
        uint32_t eax = 0, ebx = 0, ecx = 0, edx = 0;
    };
    // Answers one CPUID leaf; false when the processor has no CPUID.
    using CpuidFunction = bool (*)(uint32_t leaf, Registers& out);

    TWLXCPUInfoObject();
    // Decodes the processor through the given CPUID (tests give a table).
    explicit TWLXCPUInfoObject(CpuidFunction cpuid);

    QString IDString;
    int Stepping = 0, Model = 0, Family = 0;
    bool FPU = false, VirtualModeExtensions = false, DebuggingExtensions = false,
         PageSizeExtensions = false, TimeStampCoutner = false, K86_ModelSpecificRegisters = false,
         MachineCheckException = false, CMP_XCHG_8B = false, APIC = false,
         MemoryTypeRangeRegisters = false, GlobalPaging = false, Cond_MOVE_Instruct = false, MMX = false,
         SysCallAndSysRet = false, FPCond_MOVE_Instruct = false, AMD3DNow = false;
    QString CPUName;
    bool ExistCPUInfo = false;

    // The CPUID of the running processor.
    static bool SystemCpuid(uint32_t leaf, Registers& out);

private:
    void Decode(CpuidFunction cpuid);
};

class TWLXSysInfo : public TWLXCustomComponent {
public:
    TWLXSysInfo();

    // 0 CurrentUser, 1 RegisteredCompany, 2 RegisteredOwner, 3 VersionWIN, 4 WinPath, 5 WinSysPath,
    // 6 FreeGdiRes, 7 FreeUsrRes, 8 FreeSysRes, 9 MemoryLoaded, 10 Platform, 11 TempPath,
    // 12 Computername, 13 ProcessorType, 14 DefaultLanguageString, 15 TimeZone.
    QString GetStringProp(int index) const;
    // 0 BuildNumber, 7 ScreenSaverDelay (minutes), 8 DefaultLanguageID, 9 TimeZoneDiff (minutes,
    // UTC = local time + difference), 10 ScreenWidth, 11 ScreenHeight, 12 ScreenPPi; others 0.
    int GetIntegerProp(int index) const;
    // In units of 1024 bytes: 1 MemPhysTotal, 2 MemPhysFree, 3 MemVirtTotal, 4 MemVirtFree,
    // 5 MemPageTotal, 6 MemPageFree, 7 MemVirtExtended.
    int64_t GetMemoryProp(int index) const;
    // 0 NumLockState, 1 CapsLockState, 2 ScrollLockState, 3 WindowAnimation, 4 WarningBeep,
    // 5 ScreenSaveActive, 6 FontSmoothing, 7 DragFullWindows, 8 SnapToDefaultButton, 9 PlusAvailable.
    bool GetBooleanProp(int index) const;
    void SetBooleanProp(int index, bool value) { Q_UNUSED(index); Q_UNUSED(value); }
    // 0 .. 27 as the locale table; "Hallo" when the locale has no such value.
    QString GetLocaleProp(int index) const;
    void SetLocaleProp(int index, const QString& value) { Q_UNUSED(index); Q_UNUSED(value); }
    int GetProcessorNumber() const;
    int GetColorDepth() const;
    int GetKeyboardDelay() const;
    int GetKeyboardSpeed() const;
    void SetKeyboardDelay(int value) { Q_UNUSED(value); }
    void SetKeyboardSpeed(int value) { Q_UNUSED(value); }
    QStringList Environment() const;
    QStringList AllFonts() const;
    QStringList AllPrinters() const;
    TWLXCPUInfoObject& ProcessorInfo() { return m_cpu; }

    // The library's text for a value that cannot be read.
    static QString Unknown() { return QStringLiteral("(Unbekannt)"); }

    // Memory figures of a /proc/meminfo text, in units of 1024 bytes (tests give a text).
    static int64_t MemoryFrom(const QString& meminfo, int index);
    // The percent text of a memory load: used share of MemTotal.
    static QString MemoryLoadFrom(const QString& meminfo);

private:
    TWLXCPUInfoObject m_cpu;
};
