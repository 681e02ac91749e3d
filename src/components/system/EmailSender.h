#pragma once
// E-mail component: each falling "|SND" sends one e-mail through an SMTP server. Recipients
// come from the settings and "$TO", the subject from "$SUB"; the message text is a template
// whose "$P1" .. "$Pk" are filled from the parameter inputs. The sending runs in a thread of
// its own; a failure puts the component into its error state and is told to the user once
// per run.

#include "components/system/SendQueue.h"
#include "core/model/GrundBT.h"
#include "platform/SmtpMail.h"

#include <QStringList>

// What one falling edge hands to the sending thread: the settings and the input texts as they
// stood at the edge.
struct TMailOrder {
    TMailServer Server;
    QString SenderName;
    QString SenderAddress;
    QStringList RecipientLines;
    QString ExtraRecipient;  // "$TO"
    QString Subject;         // "$SUB"
    QStringList TextLines;
    QStringList Parameters;  // "$P1" .. "$Pk"
    QStringList AttachmentLines;
};

// The mail of an order: recipients trimmed (blank ones left out), placeholders filled from the
// highest number down, attachments that do not exist left out.
TMail PrepareMail(const TMailOrder& order);

class TBTEmailSenden : public TGrundBT {
public:
    TV_CLASS_NAME(TBTEmailSenden)
    TBTEmailSenden();
    static const TComponentDescription Description;
    enum { InSend, InTo, InSubject, InFirstParameter };
    static constexpr int kMaxParameters = 20;

    TMailServer Server;
    QString SenderAddress;
    QStringList RecipientLines;
    QStringList TextLines;
    QStringList AttachmentLines;

    // The last sending failed; the hint says why. Cleared by the next success.
    bool Failed = false;
    QString LastError;

    void Paint(TCanvas& canvas) override;
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    QString GetHint() const override;
    void NameInputs() override;
    void Calculate() override;
    void SimReset() override;

    int ParameterCount() const { return InputCount - InFirstParameter; }
    // True while mails of this component wait or are being sent.
    bool Sending() const { return m_queue.Busy(); }

private:
    void Send();
    void TakeResult();

    bool m_lastLevel = false;  // kept from one run to the next
    bool m_reported = false;   // a failure of this run has been told
    bool m_sent = false;       // a mail went out since the last result
    TSendQueue m_queue;
};
