#include "components/file/UserLibrary.h"

#include "components/file/FileBlock.h"
#include "components/file/UserLibraryDlg.h"
#include "components/signal/SignalSupport.h"
#include "platform/Context.h"
#include "platform/Cp1252.h"
#include "platform/DynamicLibrary.h"
#include "platform/Filer.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/Formats.h"

#include <QFileInfo>

#include <cstring>

// --- TUserLibrary ----------------------------------------------------------------------------

const char* const TUserLibrary::Names[EntryCount] = {
    "NumInputs", "NumOutputs", "NumInputsEx", "NumOutputsEx", "CNumInputsEx",
    "CNumOutputsEx", "InputName", "OutputName", "GetInputName", "GetOutputName",
    "InitValues", "CInitValues", "Configure", "CConfigure", "SimStart", "CSimStart",
    "SimStop", "CSimStop", "Calculate", "CCalculate", "CalculateEx", "CCalculateEx"};

TUserLibrary::TUserLibrary() = default;
TUserLibrary::~TUserLibrary() = default;

void TUserLibrary::Release()
{
    m_entries.fill(nullptr);
    m_library.reset();
}

bool TUserLibrary::Load(const QString& path)
{
    Release();
    m_error.clear();
    if (path.isEmpty())
        return false;
    QString reason;
    m_library = LoadDynamicLibrary(path, &reason);
    if (!m_library) {
        m_error = Lang3Q("Die Bibliothek kann nicht geladen werden: ",
                         "The library cannot be loaded: ",
                         "La bibliothèque ne peut pas être chargée : ")
                  + reason;
        return false;
    }
    bool any = false;
    for (int e = 0; e < EntryCount; ++e) {
        void* address = m_library->Symbol(Names[e]);
        if (!address)
            address = m_library->Symbol((QByteArray("_") + Names[e]).constData());
        m_entries[size_t(e)] = address;
        any = any || address;
    }
    if (!any)
        m_error = Lang3Q("Die Bibliothek exportiert keine der Funktionen einer DLL-Komponente.",
                         "The library exports none of the functions of a DLL component.",
                         "La bibliothèque n'exporte aucune fonction d'un composant DLL.");
    return any;
}

// --- TBTDLL ----------------------------------------------------------------------------------

const TComponentDescription TBTDLL::Description{
    .Name = "TBTDLL", .Prefix = {"DLL"}, .HelpContext = 18515,
    .TypeName = {"DLL-Import", "DLL import", "Import DLL"}, .Inputs = {0, 0, kValues},
    .Outputs = {0, 0, kValues}, .Category = TPaletteCategory::AllgemeinPC};

TBTDLL::TBTDLL()
{
    Describe(Description);
    SignalSupport::MakeBlock(*this, true);
    DataVersion = 5;
}

TBTDLL::~TBTDLL() = default;

void TBTDLL::DblUserFromExt()
{
    for (int i = 0; i < kValues; ++i)
        DblUser[size_t(i)] = static_cast<double>(ExtUser[size_t(i)]);
}

void TBTDLL::ExtUserFromDbl()
{
    for (int i = 0; i < kValues; ++i)
        ExtUser[size_t(i)] = DblUser[size_t(i)];
}

QString TBTDLL::Text(int i) const
{
    const auto& buffer = m_texts[size_t(i)];
    return FromCp1252(buffer.data(), qsizetype(strnlen(buffer.data(), buffer.size())));
}

bool TBTDLL::Load(const QString& fileName)
{
    LibraryFile = fileName;
    const bool loaded = Library.Load(fileName);
    UpdatePins();
    if (Library.Has(TUserLibrary::InitValues))
        Library.Get<TvInit>(TUserLibrary::InitValues)(ExtOutputs.data(), ExtUser.data());
    if (Library.Has(TUserLibrary::CInitValues)) {
        DblUserFromExt();
        Library.Get<TvCInit>(TUserLibrary::CInitValues)(DblOutputs.data(), DblUser.data());
        ExtUserFromDbl();
    }
    return loaded;
}

void TBTDLL::UpdatePins()
{
    int inputs = 0;
    int outputs = 0;
    using E = TUserLibrary;
    if (Library.Has(E::NumInputs))
        inputs = Library.Get<TvCount>(E::NumInputs)();
    if (Library.Has(E::NumOutputs))
        outputs = Library.Get<TvCount>(E::NumOutputs)();
    if (Library.Has(E::NumInputsEx))
        inputs = Library.Get<TvCountEx>(E::NumInputsEx)(ExtUser.data());
    if (Library.Has(E::NumOutputsEx))
        outputs = Library.Get<TvCountEx>(E::NumOutputsEx)(ExtUser.data());
    if (Library.Has(E::CNumInputsEx))
        inputs = Library.Get<TvCCountEx>(E::CNumInputsEx)(DblUser.data());
    if (Library.Has(E::CNumOutputsEx))
        outputs = Library.Get<TvCCountEx>(E::CNumOutputsEx)(DblUser.data());
    // The arrays hold 101 values; a library asking for more gets 101 pins.
    SetInputCount(std::min(inputs, kValues));
    SetOutputCount(std::min(outputs, kValues));
    NameInputs();
    NameOutputs();
}

void TBTDLL::NamePinsFrom(std::vector<std::unique_ptr<TBauteilPin>>& pins,
                          TUserLibrary::TEntry prefixed, TUserLibrary::TEntry terminated)
{
    const bool outputs = &pins == &Outputs;
    for (int k = 0; k < int(pins.size()); ++k) {
        TBauteilPin& pin = *pins[size_t(outputs ? int(pins.size()) - 1 - k : k)];
        std::array<char, TAVRINOL_NAME_SIZE> name{};
        if (Library.Has(prefixed)) {
            name.fill(0);
            Library.Get<TvName>(prefixed)(k, name.data());
            const int length = static_cast<uint8_t>(name[0]);
            pin.SetName(FromCp1252(name.data() + 1, std::min(length, TAVRINOL_NAME_SIZE - 1)).left(10));
        }
        if (Library.Has(terminated)) {
            name.fill(0);
            Library.Get<TvName>(terminated)(k, name.data());
            name.back() = 0;
            pin.SetName(FromCp1252(name.data(), qsizetype(strlen(name.data()))).left(10));
        }
    }
}

void TBTDLL::NameInputs()
{
    TGrundBT::NameInputs();
    NamePinsFrom(Inputs, TUserLibrary::InputName, TUserLibrary::GetInputName);
}

void TBTDLL::NameOutputs()
{
    TGrundBT::NameOutputs();
    NamePinsFrom(Outputs, TUserLibrary::OutputName, TUserLibrary::GetOutputName);
}

void TBTDLL::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawSymbolCaption(canvas, QFileInfo(FileWrites::NamePart(LibraryFile)).completeBaseName(),
                      SymbolColor);
}

void TBTDLL::WriteData(TWriter& writer)
{
    TGrundBT::WriteData(writer);
    writer.WriteString(LibraryFile);
    for (long double v : ExtUser)
        writer.WriteFloat(v);
}

void TBTDLL::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    const int32_t stored = DataVersion;
    DataVersion = 5;
    Load(FindDataFile(reader.ReadString()));
    if (stored >= 5) {
        for (long double& v : ExtUser)
            v = reader.ReadFloat();
        DblUserFromExt();
        UpdatePins();
    }
}

int TBTDLL::EditProperties()
{
    ExtUser[100] = Number;
    DblUserFromExt();
    TDLLDlg dialog(*this);
    const int result = ShowModal(dialog);
    if (result == mrOk) {
        if (!Load(dialog.FileName) && !LibraryFile.isEmpty())
            MessageDlg(Library.Error(), mtError, mbOK);
        if (Library.Has(TUserLibrary::CConfigure))
            ExtUserFromDbl();
        UpdatePins();
    }
    return result;
}

QString TBTDLL::GetHint() const
{
    return FileWrites::HintWithFile(TGrundBT::GetHint(), LibraryFile);
}

void TBTDLL::PrepareInputs(bool texts)
{
    for (int i = 0; i < InputCount; ++i) {
        ExtInputs[size_t(i)] = GetInputLevel(i);
        DblInputs[size_t(i)] = static_cast<double>(ExtInputs[size_t(i)]);
        if (texts) {
            // Texts longer than a buffer are cut to its 1000 characters.
            const QByteArray bytes = ToCp1252(GetInputText(i)).left(TAVRINOL_TEXT_SIZE - 1);
            auto& buffer = m_texts[size_t(i)];
            memcpy(buffer.data(), bytes.constData(), size_t(bytes.size()));
            buffer[size_t(bytes.size())] = 0;
        }
    }
    ExtUser[100] = Number;
}

template <class T>
void TBTDLL::Deliver(const std::array<T, kValues>& outputs, bool texts)
{
    for (int j = 0; j < OutputCount; ++j) {
        const int pin = OutputCount - 1 - j;
        if (texts) {
            m_texts[size_t(j)].back() = 0;
            SetOutputText(pin, Text(j));
        }
        SetOutputValue(pin, static_cast<Extended>(outputs[size_t(j)]));
    }
}

void TBTDLL::Calculate()
{
    using E = TUserLibrary;
    PrepareInputs(true);
    if (Library.Has(E::Calculate)) {
        Library.Get<TvCall>(E::Calculate)(ExtInputs.data(), ExtOutputs.data(), ExtUser.data());
        Deliver(ExtOutputs, false);
    }
    if (Library.Has(E::CCalculate)) {
        DblUserFromExt();
        Library.Get<TvCCall>(E::CCalculate)(DblInputs.data(), DblOutputs.data(), DblUser.data());
        Deliver(DblOutputs, false);
        ExtUserFromDbl();
    }
    if (Library.Has(E::CalculateEx)) {
        Library.Get<TvCallEx>(E::CalculateEx)(ExtInputs.data(), ExtOutputs.data(),
                                              ExtUser.data(), TextPointers.data());
        Deliver(ExtOutputs, true);
    }
    if (Library.Has(E::CCalculateEx)) {
        DblUserFromExt();
        Library.Get<TvCCallEx>(E::CCalculateEx)(DblInputs.data(), DblOutputs.data(),
                                                DblUser.data(), TextPointers.data());
        Deliver(DblOutputs, true);
        ExtUserFromDbl();
    }
}

void TBTDLL::CallAround(TUserLibrary::TEntry ext, TUserLibrary::TEntry dbl)
{
    PrepareInputs(false);
    if (Library.Has(ext)) {
        Library.Get<TvCall>(ext)(ExtInputs.data(), ExtOutputs.data(), ExtUser.data());
        Deliver(ExtOutputs, false);
    }
    if (Library.Has(dbl)) {
        DblUserFromExt();
        Library.Get<TvCCall>(dbl)(DblInputs.data(), DblOutputs.data(), DblUser.data());
        Deliver(DblOutputs, false);
        ExtUserFromDbl();
    }
}

void TBTDLL::SimReset()
{
    for (int i = 0; i < kValues; ++i)
        TextPointers[size_t(i)] = m_texts[size_t(i)].data();
    CallAround(TUserLibrary::SimStart, TUserLibrary::CSimStart);
}

void TBTDLL::SimEnd()
{
    CallAround(TUserLibrary::SimStop, TUserLibrary::CSimStop);
}
