#include "hardware/framework/BtHardware.h"

#include "core/board/BoardHooks.h"
#include "core/board/Platine.h"
#include "core/model/ClassRegistry.h"
#include "core/model/Translator.h"
#include "hardware/framework/HardwareHelpers.h"
#include "hardware/framework/PinEdit.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/MessageBox.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

namespace {

constexpr int32_t kNoDeviceHelpContext = 35500;

// Stored component class names of older projects and the device classes that replace them.
struct TLegacyName {
    const char* Stored;
    const char* Device;
};
constexpr TLegacyName kLegacyNames[] = {
    {"TBTRelaiskarte", "TRelaiskarte"},
    {"TBTRelaisSeriell", "TSerRelais"},
    {"TBTHardware", "TIOInterface"},
    {"TBTUSBDMM", "THID_DMM"},
    {"TBTCompuLab", "TCompuLab"},
    {"TBTSIOS", "TSios"},
    {"TBTPIO32", "TPIO32"},
    {"TBTELV_Analyzer", "TELVAnalyser"},
    {"TBTLPT", "TLPTInterface"},
    {"TBTChip8255", "T8255Interface"},
    {"TBTCSI7001", "TCSI7001"},
    {"TBTCSI7002", "TCSI7002"},
    {"TBTELVInterface", "TELVInterface"},
    {"TBTCOMD", "TCOM_D"},
    {"TBTMemPIO", "TBMCMEMPIO"},
    {"TBTAD12", "TAD12LC"},
    {"TBTHygroTec", "THygrotecInterface"},
    {"TBTOpto_3", "TOpto3"},
    {"TBTDAC4", "TDAC4"},
    {"TBTADGVT", "TADGVT"},
    {"TBTPCI_Analog", "TPCIAnalogkarte"},
    {"TBTPCI_Digital", "TPCIDigitalkarte"},
    {"TBTPort_W", "TwPort"},
    {"TBTPort_R", "TrPort"},
    {"TBTPort16_R", "TrPort16"},
    {"TBTPort16_W", "TwPort16"},
    {"TBTSartorius", "TSartoriusInterface"},
    {"TBTConrad8", "T8KanalInterface"},
    {"TBTConrad8_API", "T8KanalInterface_API"},
    {"TBTCOM_SendByte", "TComByteSenden"},
    {"TBTCOM_SendText", "TComBytefolgeSenden"},
    {"TBTCOM_SendValue", "TComZahlSenden"},
    {"TBTCOM_ReceiveByte", "TComByteEmpfangen"},
    {"TBTCOM_ReceiveValue", "TComZahlEmpfangen"},
    {"TBTSERAI18", "TSerai18"},
    {"TBTSERAI18API", "TSerai18_API"},
    {"TBTSERAI610", "TSerai610"},
    {"TBTSERAI610API", "TSerai610_API"},
    {"TBTSERAI812", "TSerai812"},
    {"TBTSERAI812API", "TSerai812_API"},
    {"TBTVModul", "TVModul"},
    {"TBTM232", "TM232"},
    {"TBTADS12", "TADS12"},
    {"TBTADS12_API", "TADS12_API"},
    {"TBTADA8", "TADA8"},
    {"TBTADA16_2", "TADA162"},
    {"TBTCounter1", "TCounter1"},
    {"TBTVModulAD", "TVModulAD"},
    {"TBTDAC416", "TDAC416"},
    {"TBTWetter", "TWettersensor"},
    {"TBTVModulUSB", "TVModulUSB"},
    {"TBTxcomUSB", "TxcomUSB"},
    {"TBTVModulADUSB", "TVModulADUSB"},
    {"TBTP500", "TP500"},
    {"TBTHT_Feuchte", "THT_Feuchte"},
    {"TBTHT_Temp16", "THT_Temp16"},
    {"TBTUSB_Counter", "TMini_Counter"},
    {"TBT_USB_DAC", "TMini_DAC"},
    {"TBT_USB_IO", "TMini_IO"},
    {"TBT_USB_Proto", "TMini_Proto"},
    {"TBT_USB_AD", "TMini_AD"},
    {"TBTJoystick", "TJoystick"},
    {"TBTDMM", "TDMMInterface"},
    {"TBTWatchdogRelaiskarte", "TWatchdogRel"},
    {"TBT_USB_Opto4_In", "TOpto4In"},
    {"TBT_USB_Opto4_Out", "TOpto4Out"},
    {"TBTBMC_PC20", "TBMC_PC20"},
    {"TBTSerai812USB", "TSerai812_USB"},
    {"TBTCompuLabUSB", "TCompulab_USB"},
    {"TBTMotech300", "TMotech_LPS305"},
    {"TBTVoltcraft_MXG9810A", "TVoltcraft_MXG9810A"},
    {"TBTVoltcraft_DIGI_35_CPU", "TVoltcraft_Digi35CPU"},
    {"TBTLabJack_U12", "TLabJack_U12"},
    {"TBTIntelligent", "TFT_Intelligent"},
    {"TBTIntelligentExtension", "TFT_IntelligentExtension"},
};

std::unique_ptr<TIOInterface> CreateDevice(const QString& className)
{
    std::unique_ptr<TPersistentObject> object = ClassRegistry().CreateByName(className);
    auto* device = dynamic_cast<TIOInterface*>(object.get());
    if (!device)
        throw EClassNotFound(className);
    object.release();
    return std::unique_ptr<TIOInterface>(device);
}

} // namespace

QString HardwareDeviceClass(const QString& storedName)
{
    const QString upper = storedName.toUpper();
    QString found;
    for (const TLegacyName& entry : kLegacyNames)
        if (QString::fromLatin1(entry.Stored).toUpper() == upper)
            found = QString::fromLatin1(entry.Device);
    return found;
}

int HardwareClassNameCount()
{
    return int(std::size(kLegacyNames));
}

// --- Component -----------------------------------------------------------------------------------

TBTHardware::TBTHardware()
{
    HelpContext = kNoDeviceHelpContext;
    SetElementClass(QString());
    Editable = true;
    BodyColor1 = 0x909090;
    BodyColor2 = 0xD0D0D0;
}

TBTHardware::~TBTHardware() = default;

std::unique_ptr<TBTHardware> TBTHardware::Create(const QString& storedName)
{
    auto component = NewObject<TBTHardware>();
    const QString deviceClass = HardwareDeviceClass(storedName);
    if (!deviceClass.isEmpty() && deviceClass != QLatin1String(TIOInterface::StaticClassName()))
        component->SetInterface(CreateDevice(deviceClass));
    return component;
}

std::unique_ptr<TBTHardware> TBTHardware::CreateWith(std::unique_ptr<TIOInterface> device)
{
    auto component = NewObject<TBTHardware>();
    component->SetInterface(std::move(device));
    component->SetLabel(component->Interface->Name);
    return component;
}

void TBTHardware::SetInterface(std::unique_ptr<TIOInterface> device)
{
    Interface = std::move(device);
    TakeFromInterface();
}

void TBTHardware::TakeFromInterface()
{
    if (!Interface)
        return;
    SetPrefix(Interface->Praefix().left(10));
    Caption = Interface->Beschriftung().left(40);
    TakePinsFromInterface();
}

// The device's inputs are the component's outputs and the other way round.
void TBTHardware::TakePinsFromInterface()
{
    SetInputCount(Interface->OutputCount);
    SetOutputCount(GetInputCount(*Interface));
    NameInputs();
    NameOutputs();
    HelpContext = Interface->HelpContext;
    LayoutPins();
}

void TBTHardware::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    RepaintPins(canvas);
    DrawSymbolCaption(canvas, Caption, Ctx().ColorSymbols ? clWhite : clBlack);
}

void TBTHardware::DrawPinLine(TCanvas& canvas, TBauteilPin& pin, bool isInput, bool lit)
{
    if (ShowLineStates)
        TGrundBT::DrawPinLine(canvas, pin, isInput, lit);
    DrawPinArrow(canvas, pin, isInput, lit);
}

void TBTHardware::WriteData(TWriter& writer)
{
    TIOBauteil::WriteData(writer);
    if (Interface) {
        writer.WriteString(QString::fromLatin1(Interface->ClassName()));
        Interface->writeToStream(writer);
    } else {
        TIOInterface bare;
        writer.WriteString(QString::fromLatin1(bare.ClassName()));
        bare.writeToStream(writer);
    }
}

void TBTHardware::ReadData(TReader& reader, uint8_t version)
{
    m_labelSet = false;
    TIOBauteil::ReadData(reader, version);
    const bool created = !Interface;
    if (created) {
        const QString className = reader.ReadString();
        auto device = CreateDevice(className);
        Interface = std::move(device);
        SetPrefix(Interface->Praefix().left(10));
        Caption = Interface->Beschriftung().left(40);
    }
    Interface->readFromStream(reader);
    // The stored label is the device's name; a device made only now takes it over.
    if (created && m_labelSet)
        Interface->Name = Label;
    TakePinsFromInterface();
}

int TBTHardware::EditProperties()
{
    if (!Interface)
        return mrCancel;
    TIOInterface& device = *Interface;
    const bool runtime = Ctx().RuntimeMode;
    const bool running = Ctx().SimRunning;
    device.DlgRuntimeMode = runtime;
    device.DlgSimRunning = running;
    device.SettingsDialog = device.CreateDialog();
    device.getKonfigData();
    auto* generic = dynamic_cast<TDefault_Dlg*>(device.SettingsDialog);
    if (!runtime && !running && generic)
        generic->PropScrollbox->AddCheckProp(Translate(QStringLiteral("Zur Laufzeit einstellbar")),
                                             RunTimeAdjustable);
    if (!runtime) {
        if (generic)
            generic->HelpContext = device.HelpContext;
    }
    const int result = device.ExecuteDialog();
    if (result == mrOk) {
        device.ApplySettings();
        SetInputCount(device.OutputCount);
        SetOutputCount(GetInputCount(device));
    } else {
        device.RevertSettings();
    }
    device.SettingsDialog = nullptr;
    NameInputs();
    NameOutputs();
    LayoutPins();
    return result;
}

QString TBTHardware::GetHint() const
{
    const uint16_t base = Interface ? Interface->BaseAddress : 0;
    QString hint = TGrundBT::GetHint() + QStringLiteral("\rPort ") + WordToHex(base)
                   + QStringLiteral("h ( ") + QString::number(base) + QStringLiteral(" )");
    if (Interface && !Interface->StatusMessage().isEmpty())
        hint += QLatin1Char('\r') + Interface->StatusMessage();
    return hint;
}

void TBTHardware::Calculate()
{
    if (!Interface)
        return;
    TIOInterface& device = *Interface;
    for (int32_t i = 0; i < InputCount; ++i) {
        device.SetValue(i, GetInputLevel(i));
        if (Inputs[size_t(i)]->Name().startsWith(QLatin1Char('$')))
            device.SetText(i, GetInputText(i));
    }
    device.MachEsJetzt();
    const int32_t n = OutputCount;
    for (int32_t j = 0; j < n; ++j) {
        SetOutputAnalog(j, device.GetInputValue(n - 1 - j));
        if (Outputs[size_t(j)]->Name().startsWith(QLatin1Char('$')))
            SetOutputText(j, device.GetInputText(n - 1 - j));
    }
}

void TBTHardware::SimReset()
{
    if (!Interface)
        return;
    TIOInterface& device = *Interface;
    for (int32_t i = 0; i < InputCount; ++i)
        device.SetPinUsed(i, Inputs[size_t(i)]->Connected);
    const int32_t n = OutputCount;
    for (int32_t j = 0; j < n; ++j)
        device.SetInputUsed(n - 1 - j, Outputs[size_t(j)]->Connected);
    device.SimStart();
}

void TBTHardware::SimEnd()
{
    if (Interface)
        Interface->SimStop();
}

void TBTHardware::NameInputs()
{
    if (!Interface)
        return;
    for (int32_t i = 0; i < InputCount && i < Interface->OutputCount; ++i)
        Inputs[size_t(i)]->SetName(Interface->GetOutputLabel(i).left(10));
    const int32_t clock = Interface->ClockInput();
    if (clock >= 0 && clock < InputCount)
        Inputs[size_t(clock)]->SetName(Interface->GetOutputLabel(clock).left(10));
}

void TBTHardware::NameOutputs()
{
    if (!Interface)
        return;
    const int32_t inputs = Interface->GetPinCount() - Interface->OutputCount;
    const int32_t n = OutputCount;
    for (int32_t j = 0; j < n && j < inputs; ++j)
        Outputs[size_t(j)]->SetName(Interface->GetInputLabel(n - 1 - j).left(10));
}

QString TBTHardware::GetTypeName() const
{
    return Interface ? Interface->BiboName() : QStringLiteral("Hardware");
}

QString TBTHardware::GetLabel() const
{
    return Interface ? Interface->Name : QStringLiteral("Hardware");
}

void TBTHardware::SetLabel(const QString& label)
{
    m_labelSet = true;
    if (Interface)
        Interface->Name = label;
    Label = label;
}

void TBTHardware::SetStepCallback(const std::function<void()>& step)
{
    if (!Interface)
        return;
    Interface->StepCallback = step;
    for (auto& port : Interface->Ports)
        port->StepCallback = step;
}

// --- Hooks -------------------------------------------------------------------------------------

void InstallHardwareHooks()
{
    TBoardServiceHooks& board = BoardServiceHooks();
    board.HardwareClassByName = [](const QString& name) -> THardwareFactory {
        if (HardwareDeviceClass(name).isEmpty())
            return {};
        return [name]() -> std::unique_ptr<TBauteil> { return TBTHardware::Create(name); };
    };
    board.IsHardwareComponent = [](const TBauteil& item) {
        return dynamic_cast<const TBTHardware*>(&item) != nullptr;
    };
    board.ReleaseHardwareInterface = [](TIOBauteil& item) {
        if (auto* hardware = dynamic_cast<TBTHardware*>(&item))
            hardware->Interface.reset();
    };

    TSimulationHooks& simulation = SimulationHooks();
    simulation.SetStepCallback = [](TBauteil& item, const TStepCallback& step) {
        if (auto* hardware = dynamic_cast<TBTHardware*>(&item))
            hardware->SetStepCallback(step);
    };
    simulation.PrepareInterface = [](TBauteil& item) {
        auto* hardware = dynamic_cast<TBTHardware*>(&item);
        if (hardware && hardware->Interface)
            hardware->Interface->SimPrepare();
    };

    TPinPortDialogHooks pinHooks;
    pinHooks.Show = [](const QString& caption) { PinPortDlg().Execute(caption); };
    pinHooks.ClearPinEditorHooks = [] { ClearPinEditorHooks(); };
    SetPinPortDialogHooks(std::move(pinHooks));
}

std::unique_ptr<TBTHardware> CreateHardwareComponent(const QString& deviceClass)
{
    return TBTHardware::CreateWith(CreateDevice(deviceClass));
}
