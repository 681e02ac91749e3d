#pragma once
// A component of the user's own: a shared library exporting the entry points of
// UserLibraryInterface.h. The component asks it for its pins, calls it at the start of a run,
// in every step and at the end, and hands it arrays of input, output and user values and the
// text buffers. A library that cannot be loaded leaves the component without pins and calls.

#include "components/file/UserLibraryInterface.h"
#include "core/model/GrundBT.h"

#include <array>
#include <memory>

class TDynamicLibrary;

// A loaded user library and its entry points.
class TUserLibrary {
public:
    enum TEntry {
        NumInputs, NumOutputs, NumInputsEx, NumOutputsEx, CNumInputsEx, CNumOutputsEx,
        InputName, OutputName, GetInputName, GetOutputName, InitValues, CInitValues,
        Configure, CConfigure, SimStart, CSimStart, SimStop, CSimStop, Calculate, CCalculate,
        CalculateEx, CCalculateEx, EntryCount
    };
    static const char* const Names[EntryCount];

    TUserLibrary();
    ~TUserLibrary();
    // Releases the library before, then loads this one and resolves its entry points. False
    // (with Error) when it cannot be loaded or exports none of them.
    bool Load(const QString& path);
    void Release();
    bool Has(TEntry e) const { return m_entries[e] != nullptr; }
    template <class F>
    F Get(TEntry e) const
    {
        return reinterpret_cast<F>(m_entries[e]);
    }
    // Why the last Load failed, in the current language; empty after a success.
    const QString& Error() const { return m_error; }

private:
    std::unique_ptr<TDynamicLibrary> m_library;
    std::array<void*, EntryCount> m_entries{};
    QString m_error;
};

class TBTDLL : public TGrundBT {
public:
    TV_CLASS_NAME(TBTDLL)
    TBTDLL();
    ~TBTDLL() override;
    static const TComponentDescription Description;
    static constexpr int kValues = TAVRINOL_USER_VALUES;

    QString LibraryFile;
    TUserLibrary Library;
    std::array<long double, kValues> ExtInputs{}, ExtOutputs{}, ExtUser{};
    std::array<double, kValues> DblInputs{}, DblOutputs{}, DblUser{};
    std::array<char*, kValues> TextPointers{};

    // Loads the library (see TUserLibrary::Load), updates the pins and runs the library's
    // initialisation. False when it could not be loaded.
    bool Load(const QString& fileName);
    void UpdatePins();
    // The text in buffer i.
    QString Text(int i) const;

    void Paint(TCanvas& canvas) override;
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    QString GetHint() const override;
    void Calculate() override;
    void SimReset() override;
    void SimEnd() override;
    void NameInputs() override;
    void NameOutputs() override;

    void DblUserFromExt();
    void ExtUserFromDbl();

private:
    void PrepareInputs(bool texts);
    template <class T>
    void Deliver(const std::array<T, kValues>& outputs, bool texts);
    // The start and end calls: register form, then standard form.
    void CallAround(TUserLibrary::TEntry ext, TUserLibrary::TEntry dbl);
    void NamePinsFrom(std::vector<std::unique_ptr<TBauteilPin>>& pins, TUserLibrary::TEntry prefixed,
                      TUserLibrary::TEntry terminated);

    std::array<std::array<char, TAVRINOL_TEXT_SIZE>, kValues> m_texts{};
};
