#pragma once
// Window message to the signal-generator program: whenever the input value changes, one
// message with the chosen command code and the value rounded to a whole number goes to the
// program's window (window class "TSondrix"), here a datagram on its local socket.

#include "core/model/GrundBT.h"
#include "platform/WindowMessage.h"

class TBtSendMessage : public TGrundBT {
public:
    TV_CLASS_NAME(TBtSendMessage)
    TBtSendMessage();
    static const TComponentDescription Description;

    static constexpr uint32_t kMessage = 0x0400;   // the first user message number
    static constexpr Extended kNothingSent = -30000.0L;

    uint16_t Command = 33;  // "Power On/Off"

    void Paint(TCanvas& canvas) override;
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    QString GetHint() const override;
    void Calculate() override;
    void SimReset() override;

    // The dialog's list entry of a command code (0 .. 53): the code, " - " and its text.
    static QString CommandEntry(int code);
    static constexpr int kCommandCount = 54;

private:
    Extended m_last = kNothingSent;
    TWindowMessageTarget m_target;
};
