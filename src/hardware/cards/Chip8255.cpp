#include "hardware/cards/Chip8255.h"

#include "core/model/Translator.h"
#include "hardware/cards/PortCard.h"
#include "hardware/framework/HardwareHelpers.h"
#include "hardware/framework/PinEdit.h"
#include "hardware/framework/PortDriver.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"

#include <QComboBox>

namespace {

QComboBox* LastCombo(TPropScrollbox& rows)
{
    auto* editor = dynamic_cast<TComboPropEditor*>(rows.Rows().back()->Editor);
    return editor ? editor->Combo : nullptr;
}


const T8255Port::TNames kPortA{
    {"8255 Port A als Ausgang", "8255 Port A as output", "8255 Port A comme sortie"},
    {"8255 Port A als Eingang", "8255 Port A as input", "8255 Port A comme entrée"}};
const T8255Port::TNames kPortB{
    {"8255 Port B als Ausgang", "8255 Port B as output", "8255 Port B comme sortie"},
    {"8255 Port B als Eingang", "8255 Port B as input", "8255 Port B comme entrée"}};
const T8255Port::TNames kPortCL{
    {"8255 Port C als Ausgang (Bit 0..3)", "8255 Port C as output (Bit 0..3)",
     "8255 Port C comme sortie (Bit 0..3)"},
    {"8255 Port C als Eingang (Bit 0..3)", "8255 Port C as input (Bit 0..3)",
     "8255 Port C comme entrée (Bit 0..3)"}};
const T8255Port::TNames kPortCH{
    {"8255 Port C als Ausgang (Bit 4..7)", "8255 Port C as output (Bit 4..7)",
     "8255 Port C comme sortie (Bit 4..7)"},
    {"8255 Port C als Eingang (Bit 4..7)", "8255 Port C as input (Bit 4..7)",
     "8255 Port C comme entrée (Bit 4..7)"}};

} // namespace

uint8_t ppi8255::ControlWord(bool aInput, bool bInput, bool cLowInput, bool cHighInput)
{
    return uint8_t(0x80 | (aInput ? 0x10 : 0) | (bInput ? 0x02 : 0) | (cLowInput ? 0x01 : 0)
                   | (cHighInput ? 0x08 : 0));
}

T8255Port::T8255Port(const TNames& names, const char* pinPrefix, const char* described,
                     int firstBit, int count)
    : m_names(names), m_firstBit(firstBit)
{
    ClearPins();
    const int first = firstBit < 0 ? 0 : firstBit;
    for (int i = first; i < first + count; ++i)
        AddPin(QString::fromLatin1(described) + QString::number(i),
               QString::fromLatin1(pinPrefix) + QString::number(i), 0.0L, 5.0L, false);
    SetAsOutput();
}

void T8255Port::SetAsInput()
{
    Name = Lang3Q(m_names.Input[0], m_names.Input[1], m_names.Input[2]);
    SetInput(true);
}

void T8255Port::SetAsOutput()
{
    Name = Lang3Q(m_names.Output[0], m_names.Output[1], m_names.Output[2]);
    SetInput(false);
}

void T8255Port::MachEsJetzt()
{
    if (BaseAddress < portcard::kFirstAddress)
        return;
    if (m_firstBit < 0) {
        if (IsInput)
            SetPinsFromWord(PortReadByte(BaseAddress));
        else
            PortWriteByte(BaseAddress, uint8_t(GetPinsAsWord()));
        return;
    }
    // A half of port C: the port's address is the control register, port C lies one below.
    if (IsInput) {
        const uint8_t c = PortReadByte(uint16_t(BaseAddress - 1));
        SetPinsFromWord(uint16_t((c >> m_firstBit) & 0x0F));
        return;
    }
    for (size_t i = 0; i < Pins.size() && i < 4; ++i)
        PortWriteByte(BaseAddress, ppi8255::BitCommand(m_firstBit + int(i),
                                                       GetPinValue(*Pins[i]) > 2.5L));
}

T8255PortA::T8255PortA() : T8255Port(kPortA, "A", "Port A - Bit ", -1, 8) {}
T8255PortB::T8255PortB() : T8255Port(kPortB, "B", "Port B - Bit ", -1, 8) {}
T8255PortCL::T8255PortCL() : T8255Port(kPortCL, "C", "Port C - Bit ", 0, 4) {}
T8255PortCH::T8255PortCH() : T8255Port(kPortCH, "C", "Port C - Bit ", 4, 4) {}

const TDeviceDescription T8255Interface::Description{
    .Name = "T8255Interface",
    .Ports = {ClassEntry<T8255PortA>(), ClassEntry<T8255PortB>(), ClassEntry<T8255PortCL>(),
              ClassEntry<T8255PortCH>()},
    .Prefix = {"8255-"},
    .PaletteName = {"8255-Port", "8255 port", "Port 8255"},
    .Caption = {"8255"},
    .HelpContext = 18760,
    .Category = TPaletteCategory::Portzugriffe,
    .LegacyNames = {"TBTChip8255"}};

T8255Interface::T8255Interface()
{
    Describe(Description);
    Name = QStringLiteral("8255-Chip");
    auto a = std::make_unique<T8255PortA>();
    auto b = std::make_unique<T8255PortB>();
    auto cl = std::make_unique<T8255PortCL>();
    auto ch = std::make_unique<T8255PortCH>();
    a->SetAsOutput();
    b->SetAsInput();
    cl->SetAsOutput();
    ch->SetAsInput();
    Ports.push_back(std::move(a));
    Ports.push_back(std::move(b));
    Ports.push_back(std::move(cl));
    Ports.push_back(std::move(ch));
    BaseAddress = 0;
    PropagateAddress();
    ControlWord = ppi8255::ControlWord(false, true, false, true);
    BuildPinList();
}

void T8255Interface::PropagateAddress()
{
    if (Ports.size() < 4)
        return;
    Ports[0]->BaseAddress = BaseAddress;
    Ports[1]->BaseAddress = uint16_t(BaseAddress + ppi8255::kPortB);
    Ports[2]->BaseAddress = uint16_t(BaseAddress + ppi8255::kControl);
    Ports[3]->BaseAddress = uint16_t(BaseAddress + ppi8255::kControl);
}

int32_t T8255Interface::GrantPortAccess()
{
    return portcard::GrantRange(BaseAddress, ppi8255::kControl);
}

void T8255Interface::ResetPins()
{
    if (BaseAddress >= portcard::kFirstAddress)
        PortWriteByte(uint16_t(BaseAddress + ppi8255::kControl), ControlWord);
    TIOInterface::ResetPins();
}

void T8255Interface::SimStart()
{
    TIOInterface::SimStart();
    ResetPins();
}

void T8255Interface::getKonfigData()
{
    TIOInterface::getKonfigData();
    if (DirectionList.isEmpty())
        DirectionList << Translate(QStringLiteral("Eingang")) << Translate(QStringLiteral("Ausgang"));
    DirA = (ControlWord & 0x10) ? 0 : 1;
    DirB = (ControlWord & 0x02) ? 0 : 1;
    DirCL = (ControlWord & 0x01) ? 0 : 1;
    DirCH = (ControlWord & 0x08) ? 0 : 1;
    TPropScrollbox* rows = DialogRows();
    if (!rows)
        return;
    portcard::AddBaseAddressRow(*this);
    if (DlgRuntimeMode || DlgSimRunning)
        return;
    rows->AddCaptionProp(Translate(QStringLiteral("Richtung")));
    const std::pair<const char*, int32_t*> directions[] = {
        {"Port A", &DirA}, {"Port B", &DirB}, {"Port CL", &DirCL}, {"Port CH", &DirCH}};
    QPointer<QComboBox>* combos[] = {&DirComboA, &DirComboB, &DirComboCL, &DirComboCH};
    for (size_t i = 0; i < 4; ++i) {
        rows->AddComboProp(QString::fromLatin1(directions[i].first), *directions[i].second,
                           DirectionList, 100);
        *combos[i] = LastCombo(*rows);
        if (QComboBox* combo = *combos[i])
            QObject::connect(combo, &QComboBox::currentIndexChanged, combo,
                             [this] { FollowDirectionRows(); });
    }
    FollowDirectionRows();
}

void T8255Interface::FollowDirectionRows()
{
    const QPointer<QComboBox> combos[] = {DirComboA, DirComboB, DirComboCL, DirComboCH};
    for (size_t i = 0; i < 4 && i < Ports.size(); ++i) {
        auto* port = dynamic_cast<T8255Port*>(Ports[i].get());
        if (!port || !combos[i])
            continue;
        if (combos[i]->currentIndex() == 1)
            port->SetAsOutput();
        else
            port->SetAsInput();
    }
    PinPortDlg().PinEdit->SetPortliste(&Ports);
}

void T8255Interface::ApplySettings()
{
    TIOInterface::ApplySettings();
    ControlWord = ppi8255::ControlWord(DirA == 0, DirB == 0, DirCL == 0, DirCH == 0);
    BaseAddress = HexToWord(AddressText);
    const int32_t directions[] = {DirA, DirB, DirCL, DirCH};
    for (size_t i = 0; i < 4 && i < Ports.size(); ++i) {
        if (auto* port = dynamic_cast<T8255Port*>(Ports[i].get())) {
            if (directions[i] != 0)
                port->SetAsOutput();
            else
                port->SetAsInput();
        }
    }
    PropagateAddress();
    BuildPinList();
}

void T8255Interface::writeToStream(TWriter& writer)
{
    TIOInterface::writeToStream(writer);
    writer.WriteInteger(ControlWord);
}

void T8255Interface::readFromStream(TReader& reader)
{
    TIOInterface::readFromStream(reader);
    ControlWord = uint8_t(reader.ReadInteger());
}
