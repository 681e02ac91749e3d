#include "hardware/kolter/VModulBase.h"

#include "core/model/Translator.h"
#include "hardware/com/ComLines.h"
#include "ui/PropertySheet.h"

#include <algorithm>

void TVModulBase::HandLineToPorts()
{
    for (auto& port : Ports)
        if (auto* linePort = dynamic_cast<TModuleLinePort*>(port.get()))
            linePort->Line = Line;
}

void TVModulBase::SimStart()
{
    if (Line)
        Line->Close();
    Line.reset();
    TIOInterface::SimStart();
    if (BaseAddress != 0)
        Line = OpenOwnLine(BaseAddress, Name);
    if (Line && UsbModule()) {
        Line->ApplyFrame(TSerialFrame{256000, 7, 0, 0});
        THandshakeLines lines(Line);
        InitUsbLines(lines);
    }
    HandLineToPorts();
}

void TVModulBase::SimStop()
{
    TIOInterface::SimStop();
    if (Line)
        Line->Close();
    Line.reset();
    HandLineToPorts();
}

void TVModulBase::getKonfigData()
{
    TIOInterface::getKonfigData();
    if (ComList.isEmpty()) {
        ComList << Translate(QStringLiteral("Kein"));
        for (int n = 1; n <= 19; ++n)
            ComList << QStringLiteral("COM %1").arg(n);
    }
    if (TPropScrollbox* rows = DialogRows())
        rows->AddComboProp(QStringLiteral("COM"), DlgAddress, ComList, 130);
}

void TVModulBase::ApplySettings()
{
    BaseAddress = uint16_t(std::clamp(DlgAddress, 0, 19));
    TIOInterface::ApplySettings();
    PropagateAddress();
}

void TVModulBase::writeToIni(TIniFile& ini, const QString& section)
{
    WriteOwnLineKeys(ini, section, Name, BaseAddress);
}

void TVModulBase::readFromIni(TIniFile& ini, const QString& section)
{
    BaseAddress = ReadOwnLineCom(ini, section);
    PropagateAddress();
}
