#include "hardware/kolter/HandshakeShift.h"

#include "hardware/framework/IoPort.h"

#include <QThread>

namespace {

void WaitIf(TIOPort& waiter, double ms)
{
    if (ms > 0)
        waiter.Wait(ms);
}

} // namespace

void THandshakeLines::SetDtr(bool on)
{
    if (m_line)
        m_line->SetModemLine(TModemLine::Dtr, on);
    else if (m_cate)
        m_cate->SetDTR(on);
}

void THandshakeLines::SetRts(bool on)
{
    if (m_line)
        m_line->SetModemLine(TModemLine::Rts, on);
    else if (m_cate)
        m_cate->SetRTS(on);
}

void THandshakeLines::SetBreak(bool on)
{
    if (m_line)
        m_line->SetBreak(on);
    else if (m_cate)
        m_cate->SetBreak(on);
}

void THandshakeLines::SendZeroByte()
{
    const uint8_t zero = 0;
    if (m_line)
        m_line->Write(&zero, 1, 100);
    else if (m_cate)
        m_cate->Write(&zero, 1);
}

bool THandshakeLines::Cts()
{
    if (m_line) {
        uint32_t status = 0;
        return m_line->GetModemStatus(status) == 0 && (status & kModemCts);
    }
    return m_cate && m_cate->GetModemSignal(msCts);
}

void ShiftClock(THandshakeLines& lines, TIOPort& waiter, const TShiftClock& clock)
{
    lines.SetBreak(false);
    if (clock.ZeroByte) {
        lines.SendZeroByte();
        WaitIf(waiter, clock.Ms);
    } else {
        lines.SetBreak(true);
        WaitIf(waiter, clock.Ms);
        lines.SetBreak(false);
    }
}

void ShiftOut(THandshakeLines& lines, TIOPort& waiter, uint32_t word, int count,
              const TShiftOutTiming& timing)
{
    lines.SetRts(true);
    WaitIf(waiter, timing.LeadMs);
    for (int i = 0; i < count; ++i) {
        lines.SetDtr(word >> i & 1u);
        WaitIf(waiter, timing.DataMs);
        ShiftClock(lines, waiter, timing.Clock);
    }
    lines.SetRts(false);
    WaitIf(waiter, timing.TrailMs);
}

uint32_t ShiftIn(THandshakeLines& lines, TIOPort& waiter, int count, const TShiftInTiming& timing)
{
    if (timing.ClearRts)
        lines.SetRts(false);
    lines.SetDtr(true);
    WaitIf(waiter, timing.LoadMs);
    lines.SetDtr(false);
    uint32_t word = 0;
    for (int i = 0; i < count; ++i) {
        if (lines.Cts() != timing.Inverted)
            word |= 1u << i;
        ShiftClock(lines, waiter, timing.Clock);
        WaitIf(waiter, timing.BitMs);
    }
    return word;
}

void InitUsbLines(THandshakeLines& lines)
{
    lines.SetBreak(false);
    lines.SetDtr(false);
    lines.SetRts(false);
    QThread::msleep(5);
    for (int i = 0; i < 8; ++i) {
        lines.SetDtr(false);
        lines.SetRts(true);
        QThread::msleep(3);
        lines.SetDtr(false);
        lines.SetRts(false);
    }
}
