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
    return ClassRegistry().DeviceClassOfStoredName(storedName);
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
    const QString deviceClass = HardwareDeviceClass(storedName);
    if (deviceClass.isEmpty())
        throw EClassNotFound(storedName);
    auto component = NewObject<TBTHardware>();
    if (deviceClass != QLatin1String(TIOInterface::StaticClassName()))
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
