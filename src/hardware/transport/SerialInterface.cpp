#include "hardware/transport/SerialInterface.h"

#include "core/model/Translator.h"
#include "platform/Context.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QCoreApplication>
#include <algorithm>
#include <array>

namespace {

std::array<std::shared_ptr<TCate>, kComTableSize>& Table()
{
    static std::array<std::shared_ptr<TCate>, kComTableSize> table;
    return table;
}

// The objects close their ports and notifiers while the application still exists.
void EnsureCleanupAtExit()
{
    static bool registered = false;
    if (!registered && QCoreApplication::instance()) {
        qAddPostRoutine(FreeComTable);
        registered = true;
    }
}

// The ports that failed and were reported in the current run.
std::array<bool, kComTableSize>& Reported()
{
    static std::array<bool, kComTableSize> reported{};
    return reported;
}

void AddBitPins(TIOPort& port, const char* prefix)
{
    for (int i = 0; i < 8; ++i)
        port.AddPin(QStringLiteral("Bit ") + QString::number(i),
                    QString::fromLatin1(prefix) + QString::number(i), 0.0L, 5.0L, false);
}

} // namespace

std::shared_ptr<TCate> ComTableEntry(int32_t n)
{
    if (n < 0 || n >= kComTableSize)
        return nullptr;
    auto& entry = Table()[size_t(n)];
    if (!entry) {
        EnsureCleanupAtExit();
        entry = std::make_shared<TCate>();
    }
    return entry;
}

bool ComTableHas(int32_t n)
{
    return n >= 0 && n < kComTableSize && Table()[size_t(n)] != nullptr;
}

void FreeComTable()
{
    for (auto& entry : Table()) {
        if (entry)
            entry->SetPort(0);
        entry.reset();
    }
}

TSerialDialogValues& SerialDialogValues()
{
    static TSerialDialogValues values;
    return values;
}

const QStringList& ComList()
{
    static QStringList list;
    if (list.isEmpty()) {
        list << Translate(QStringLiteral("Kein"));
        for (int i = 1; i <= 99; ++i)
            list << QStringLiteral("COM ") + QString::number(i);
    }
    return list;
}

TSerialDOutPort::TSerialDOutPort()
{
    Name = Lang3Q("8-Bit Digital Ausgang", "8 bit digital output", "Sortie digitale 8 bits");
    AddBitPins(*this, "DO");
    SetInput(false);
}

TSerialDInPort::TSerialDInPort()
{
    Name = Lang3Q("8-Bit Digitaleingang", "8 bit digital input", "Entrée digitale 8 bits");
    AddBitPins(*this, "DI");
    SetInput(true);
}

const TDeviceDescription TSerialInterface::Description{
    .Name = "TSerialInterface",
    .Ports = {ClassEntry<TSerialPort>(), ClassEntry<TSerialDOutPort>(), ClassEntry<TSerialDInPort>()},
    .Prefix = {"HW"}, .PaletteName = {"Hardware"}, .Caption = {"Interface"}};

TSerialInterface::TSerialInterface()
{
    Describe(Description);
    Name = Lang3Q("Serielle Schnittstelle", "Serial interface", "Interface série");
    SetComPort(0);
}

std::shared_ptr<TCate> TSerialInterface::SharedCate()
{
    const bool made = !ComTableHas(ComNumber);
    auto cate = ComTableEntry(ComNumber);
    if (made)
        PreparePort();
    return cate;
}

TCate& TSerialInterface::GetCate()
{
    return *SharedCate();
}

void TSerialInterface::SetComPort(int32_t n)
{
    if (n < 0 || n >= kComTableSize || n == ComNumber)
        return;
    if (!ComTableHas(n))
        ComTableEntry(n)->SetReadBufferSize(16000);
    TCate& target = *ComTableEntry(n);
    if (ComTableHas(ComNumber)) {
        auto old = ComTableEntry(ComNumber);
        // Settings only: the target may be open for other devices, and a refusal of the line
        // is reported when the port opens.
        try {
            target.SetBaudRate(old->BaudRate());
            target.SetParity(old->Parity());
            target.SetDatabits(old->Databits());
            target.SetStopbits(old->Stopbits());
        } catch (const ECommError&) {
        }
        old->SetPort(0);
        Table()[size_t(ComNumber)].reset();
    }
    ComNumber = int16_t(n);
    BaseAddress = uint16_t(n);
}

void TSerialInterface::PreparePort()
{
    TCate& cate = *ComTableEntry(ComNumber);
    if (cate.Port() != 0)
        cate.SetPort(0);
}

void TSerialInterface::PropagateAddress()
{
    TIOInterface::PropagateAddress();
    auto cate = SharedCate();
    for (auto& port : Ports)
        if (auto* serial = dynamic_cast<TSerialPort*>(port.get()))
            serial->Comm = cate;
}

void TSerialInterface::ReportPortFailure(const QString& reason)
{
    if (ComNumber <= 0 || Reported()[size_t(ComNumber)])
        return;
    Reported()[size_t(ComNumber)] = true;
    const QString text = Lang3Q("COM %1 (%2) lässt sich nicht benutzen: %3\n"
                                "Die Simulation läuft ohne diese Schnittstelle weiter.",
                                "COM %1 (%2) cannot be used: %3\n"
                                "The simulation goes on without this port.",
                                "COM %1 (%2) ne peut pas être utilisé : %3\n"
                                "La simulation continue sans ce port.")
                             .arg(ComNumber)
                             .arg(ComDeviceNode(ComNumber), reason);
    MessageBoxText(text, QString(Name).replace(QLatin1Char('\r'), QLatin1Char(' ')), mbOK,
                   mtWarning);
}

void TSerialInterface::SimStart()
{
    auto cate = SharedCate();
    if (!cate->Connected())
        PreparePort();
    PropagateAddress();
    if (cate->Port() != ComNumber) {
        try {
            cate->SetPort(ComNumber);
            if (ComNumber > 0 && !cate->Connected())
                ReportPortFailure(SerialErrorText(cate->LastError()));
        } catch (const ECommError& e) {
            ReportPortFailure(SerialErrorText(e.ErrorCode));
            cate->Close();
            if (cate->Port() != 0)
                cate->SetPort(0);
        }
    }
    TIOInterface::SimStart();
}

void TSerialInterface::SimStop()
{
    TIOInterface::SimStop();
    if (ComNumber >= 0 && ComNumber < kComTableSize)
        Reported()[size_t(ComNumber)] = false;
    TCate& cate = GetCate();
    cate.PurgeIn();
    cate.PurgeOut();
    if (cate.Port() != 0)
        cate.SetPort(0);
}

void TSerialInterface::ResetPins()
{
    PropagateAddress();
    TCate& cate = GetCate();
    const int32_t number = cate.Port();
    if (number != 0)
        cate.SetPort(0);
    PropagateAddress();
    if (number != cate.Port()) {
        try {
            cate.SetPort(number);
        } catch (const ECommError& e) {
            ReportPortFailure(SerialErrorText(e.ErrorCode));
        }
    }
    PropagateAddress();
    // Dropped, not read: a peer that keeps sending cannot hold the run start.
    cate.PurgeIn();
    TIOInterface::ResetPins();
}

void TSerialInterface::getKonfigData()
{
    TIOInterface::getKonfigData();
    TCate& cate = GetCate();
    TSerialDialogValues& values = SerialDialogValues();
    values.Baud = int32_t(cate.BaudRate());
    values.Parity = int32_t(cate.Parity());
    values.Databits = int32_t(cate.Databits());
    values.Stopbits = int32_t(cate.Stopbits());
    DlgComNumber = ComNumber;
    if (auto* dialog = dynamic_cast<TDefault_Dlg*>(SettingsDialog))
        dialog->setWindowTitle(QString(BiboName()).replace(QLatin1Char('\r'), QLatin1Char(' ')));
    if (TPropScrollbox* rows = DialogRows())
        rows->AddComboProp(QStringLiteral("COM"), DlgComNumber, ComList(), 90);
}

void TSerialInterface::ApplySettings()
{
    TIOInterface::ApplySettings();
    SetComPort(DlgComNumber);
    TCate& cate = GetCate();
    const TSerialDialogValues& values = SerialDialogValues();
    try {
        cate.SetBaudRate(TBaudRate(std::clamp(values.Baud, 0, int32_t(TBaudRate::Baud256000))));
        cate.SetDatabits(TDataBits(std::clamp(values.Databits, 0, int32_t(TDataBits::_8))));
        cate.SetParity(TParity(std::clamp(values.Parity, 0, int32_t(TParity::Space))));
        cate.SetStopbits(TStopBits(std::clamp(values.Stopbits, 0, int32_t(TStopBits::_2))));
    } catch (const ECommError& e) {
        // The settings are kept; the open port refuses them until they are changed.
        ReportPortFailure(SerialErrorText(e.ErrorCode));
    }
    BuildPinList();
}

void TSerialInterface::MakeInfoLines()
{
    InfoLines.clear();
    if (ComNumber <= 0)
        InfoLines << Name + QStringLiteral(": keine");
    else
        InfoLines << Name + QStringLiteral(": Com ") + QString::number(ComNumber);
}

void TSerialInterface::writeToIni(TIniFile& ini, const QString& section)
{
    ini.WriteString(section, QStringLiteral("Name"), Name);
    ini.WriteInteger(section, QStringLiteral("COM"), ComNumber);
}

void TSerialInterface::readFromIni(TIniFile& ini, const QString& section)
{
    SetComPort(ini.ReadInteger(section, QStringLiteral("COM"), 0));
}
