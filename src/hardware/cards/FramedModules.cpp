#include "hardware/cards/FramedModules.h"

#include "core/model/Translator.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/MessageBox.h"

using modframe::TModule;

namespace {

void AddLinePins(TIOPort& port, const char* kind, const char* prefix, char group, int firstPin)
{
    for (int n = 0; n < 8; ++n)
        port.AddPin(Translate(QString::fromLatin1(kind)) + QStringLiteral(" %1%2 - Pin %3")
                                                             .arg(group)
                                                             .arg(n)
                                                             .arg(n + firstPin),
                    QString::fromLatin1(prefix) + QLatin1Char(group) + QString::number(n), 0.0L,
                    5.0L, false);
}

void AddNumberedPins(TIOPort& port, const char* kind, const char* prefix)
{
    for (int n = 1; n <= 8; ++n)
        port.AddPin(Translate(QString::fromLatin1(kind)) + QLatin1Char(' ') + QString::number(n),
                    QString::fromLatin1(prefix) + QString::number(n), 0.0L, 5.0L, false);
}

} // namespace

// --- The exchange --------------------------------------------------------------------------------

void TFramedModulePort::SimStart()
{
    TSerialPort::SimStart();
    Faults = 0;
}

void TFramedModulePort::Send(const std::vector<uint8_t>& frame)
{
    m_pending = frame;
    if (Comm) {
        // What is left of an earlier answer must not be taken for the answer to this frame.
        Comm->PurgeIn();
        for (uint8_t b : frame)
            Comm->Write(&b, 1);
    }
    m_timeout.Start(kTimeoutMs);
    Waiting = true;
}

bool TFramedModulePort::TimedOut()
{
    if (!m_timeout.Due())
        return false;
    Faults |= kSilent;
    Send(m_pending);
    return true;
}

void TFramedModuleOutPort::SendStart()
{
    Send(modframe::StartFrame());
}

void TFramedModuleOutPort::MachEsJetzt()
{
    if (!Waiting) {
        const uint16_t word = GetPinsAsWord();
        if (int32_t(word) == LastWord)
            return;
        LastWord = word;
        Send(modframe::SetFrame(m_module, word));
    }
    // Anything but the acknowledgement is dropped.
    uint8_t b = 0;
    if (Comm && Comm->InQueCount() > 0 && Comm->Read(&b, 1) == 1 && b == modframe::kEot) {
        Waiting = false;
        return;
    }
    TimedOut();
}

void TFramedModuleInPort::MachEsJetzt()
{
    if (!Waiting) {
        RxText.clear();
        Send(modframe::RequestFrame(m_module));
        return;
    }
    uint8_t b = 0;
    if (Comm && Comm->InQueCount() > 0 && Comm->Read(&b, 1) == 1) {
        // Bytes beyond the longest answer are not kept; such an answer is no frame.
        if (RxText.size() <= modframe::kMaxAnswer)
            RxText.push_back(b);
        if (b == modframe::kEot) {
            const std::optional<uint16_t> word =
                RxText.size() <= modframe::kMaxAnswer ? modframe::DecodeAnswer(m_module, RxText)
                                                      : std::nullopt;
            if (word)
                SetPinsFromWord(*word);
            else
                Faults |= kGarbled;
            Waiting = false;
            RxText.clear();
            return;
        }
    }
    if (TimedOut())
        RxText.clear();
}

// --- The modules ---------------------------------------------------------------------------------

TELVInterfaceDOutPort::TELVInterfaceDOutPort() : TFramedModuleOutPort(TModule::PcIo16)
{
    Name = Lang3Q("Digitalausgänge", "Digital outputs", "Sorties digitales");
    ClearPins();
    AddLinePins(*this, "Ausgang", "O", 'A', 2);
    AddLinePins(*this, "Ausgang", "O", 'B', 15);
    SetInput(false);
}

void TELVInterfaceDOutPort::SimStart()
{
    TFramedModuleOutPort::SimStart();
    SendStart();
}

TELVInterfaceDInPort::TELVInterfaceDInPort() : TFramedModuleInPort(TModule::PcIo16)
{
    Name = Lang3Q("Digitaleingänge", "Digital inputs", "Entrées digitales");
    ClearPins();
    AddLinePins(*this, "Eingang", "I", 'A', 2);
    AddLinePins(*this, "Eingang", "I", 'B', 15);
    SetInput(true);
}

TCSI7002DOutPort::TCSI7002DOutPort() : TFramedModuleOutPort(TModule::Csi7002)
{
    Name = Translate(QStringLiteral("Relais")) + QStringLiteral(" 1-8");
    ClearPins();
    AddNumberedPins(*this, "Relais", "R");
    SetInput(false);
}

TCSI7002DInPort::TCSI7002DInPort() : TFramedModuleInPort(TModule::Csi7002)
{
    Name = Translate(QStringLiteral("Eingang")) + QStringLiteral(" 1-8");
    ClearPins();
    AddNumberedPins(*this, "Eingang", "IN");
    SetInput(true);
}

TFramedModuleOutPort& TFramedModule::Out() const
{
    return static_cast<TFramedModuleOutPort&>(*Ports[0]);
}

TFramedModuleInPort& TFramedModule::In() const
{
    return static_cast<TFramedModuleInPort&>(*Ports[1]);
}

void TFramedModule::PreparePort()
{
    TCate& cate = *ComTableEntry(ComNumber);
    cate.Multimeter = false;
    try {
        cate.SetBaudRate(TBaudRate::Baud38400);
        cate.SetDatabits(TDataBits::_8);
        cate.SetParity(TParity::Odd);
        cate.SetStopbits(TStopBits::_2);
    } catch (const ECommError& e) {
        ReportPortFailure(SerialErrorText(e.ErrorCode));
    }
}

void TFramedModule::MachEsJetzt()
{
    if (Ports.size() < 2 || !Out().Comm || !Out().Comm->Connected())
        return;
    if (Phase == 0) {
        Out().MachEsJetzt();
        if (!Out().Waiting)
            Phase = 1;
    } else {
        In().MachEsJetzt();
        if (!In().Waiting)
            Phase = 0;
    }
    ReportFaults();
}

void TFramedModule::ClearFaults()
{
    m_told = 0;
    m_status.clear();
}

void TFramedModule::ReportFaults()
{
    const uint8_t faults = uint8_t(Out().Faults | In().Faults);
    const uint8_t fresh = uint8_t(faults & ~m_told);
    if (!fresh)
        return;
    m_told |= fresh;
    const QString name = QString(Name).replace(QLatin1Char('\r'), QLatin1Char(' '));
    if (fresh & TFramedModulePort::kSilent)
        m_status = Lang3Q("%1 antwortet nicht auf COM %2. Die Simulation läuft weiter; das Gerät "
                          "wird weiter gefragt.",
                          "%1 does not answer on COM %2. The simulation goes on; the device is "
                          "asked again.",
                          "%1 ne répond pas sur COM %2. La simulation continue ; l'appareil est "
                          "interrogé de nouveau.")
                       .arg(name)
                       .arg(ComNumber);
    else
        m_status = Lang3Q("%1 sendet auf COM %2 Antworten, die nicht passen; sie ändern keinen Pin.",
                          "%1 sends answers on COM %2 that do not fit; they change no pin.",
                          "%1 envoie sur COM %2 des réponses qui ne conviennent pas ; elles ne "
                          "changent aucune broche.")
                       .arg(name)
                       .arg(ComNumber);
    MessageBoxAfterStep(m_status, name, mtWarning);
}

void TFramedModule::writeToStream(TWriter& writer)
{
    TIOInterface::writeToStream(writer);
    writer.WriteRawByte(uint8_t(ComNumber & 0xFF));
}

void TFramedModule::readFromStream(TReader& reader)
{
    TIOInterface::readFromStream(reader);
    SetComPort(reader.ReadRawByte());
}

const TDeviceDescription TELVInterface::Description{
    .Name = "TELVInterface",
    .Ports = {ClassEntry<TELVInterfaceDOutPort>(), ClassEntry<TELVInterfaceDInPort>()},
    .Prefix = {"PC-IO-"},
    .PaletteName = {"ELV PC-IO 16"},
    .Caption = {"ELV PC-IO 16"},
    .Category = TPaletteCategory::ELV,
    .LegacyNames = {"TBTELVInterface"}};

TELVInterface::TELVInterface()
{
    Describe(Description);
    Name = QStringLiteral("ELV PC-IO Interface");
    Ports.push_back(std::make_unique<TELVInterfaceDOutPort>());
    Ports.push_back(std::make_unique<TELVInterfaceDInPort>());
    BuildPinList();
    PropagateAddress();
    Phase = 1;
}

void TELVInterface::SimStart()
{
    Phase = 0;
    In().Waiting = false;
    Out().LastWord = -1;
    ClearFaults();
    TFramedModule::SimStart();
}

const TDeviceDescription TCSI7002::Description{
    .Name = "TCSI7002",
    .Ports = {ClassEntry<TCSI7002DOutPort>(), ClassEntry<TCSI7002DInPort>()},
    .Prefix = {"CSI"},
    .PaletteName = {"ELV-CSI-7002"},
    .Caption = {"ELV-CSI-7002"},
    .Category = TPaletteCategory::ELV,
    .LegacyNames = {"TBTCSI7002"}};

TCSI7002::TCSI7002()
{
    Describe(Description);
    Name = QStringLiteral("ELV-CSI 7002");
    Ports.push_back(std::make_unique<TCSI7002DOutPort>());
    Ports.push_back(std::make_unique<TCSI7002DInPort>());
    BuildPinList();
    PropagateAddress();
    Phase = 0;
}

void TCSI7002::SimStart()
{
    ClearFaults();
    TFramedModule::SimStart();
    ResetPins();
}

void TCSI7002::ResetPins()
{
    Out().Waiting = false;
    Out().LastWord = -1;
    In().Waiting = false;
    Phase = 0;
}
