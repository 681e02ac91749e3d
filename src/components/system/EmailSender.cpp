#include "components/system/EmailSender.h"

#include "components/analog/Integrators.h"
#include "components/signal/SignalSupport.h"
#include "core/model/Translator.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/MessageBox.h"
#include "ui/PropertySheet.h"

#include <QFileInfo>
#include <QLineEdit>

namespace {

// Blanks and control characters off both ends.
QString TrimControls(const QString& text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text[from].unicode() <= 0x20)
        ++from;
    while (to > from && text[to - 1].unicode() <= 0x20)
        --to;
    return text.mid(from, to - from);
}

} // namespace

TMail PrepareMail(const TMailOrder& order)
{
    TMail mail;
    mail.SenderName = order.SenderName;
    mail.SenderAddress = order.SenderAddress;
    for (const QString& line : order.RecipientLines) {
        const QString r = TrimControls(line);
        if (!r.isEmpty())
            mail.Recipients << r;
    }
    const QString extra = TrimControls(order.ExtraRecipient);
    if (!extra.isEmpty())
        mail.Recipients << extra;
    mail.Subject = order.Subject;
    mail.BodyLines = order.TextLines;
    // From the highest number down, so that "$P1" does not take the start of "$P10".
    for (QString& line : mail.BodyLines)
        for (qsizetype k = order.Parameters.size(); k >= 1; --k)
            line.replace(QStringLiteral("$P") + QString::number(k), order.Parameters[k - 1]);
    for (const QString& file : order.AttachmentLines) {
        const QString path = TrimControls(file);
        if (!path.isEmpty() && QFileInfo(path).isFile())
            mail.Attachments << path;
    }
    return mail;
}

const TComponentDescription TBTEmailSenden::Description{
    .Name = "TBTEmailSenden", .Prefix = {"@mail"}, .HelpContext = 18567,
    .TypeName = {"@mail"}, .Inputs = {4, 4, 3 + kMaxParameters}, .Outputs = {0},
    .InputNames = "|SND $TO $SUB $P1", .Category = TPaletteCategory::AllgemeinPC};

TBTEmailSenden::TBTEmailSenden()
{
    Describe(Description);
    SignalSupport::MakeBlock(*this, true);
}

void TBTEmailSenden::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    SignalSupport::DrawCentredMark(*this, canvas, CenterX(), CenterY() - 24, 38,
                                   QStringLiteral("@mail"));
}

void TBTEmailSenden::NameInputs()
{
    TGrundBT::NameInputs();
    for (int k = 0; k < ParameterCount(); ++k)
        Inputs[size_t(InFirstParameter + k)]->SetName(QStringLiteral("$P%1").arg(k + 1));
}

void TBTEmailSenden::WriteData(TWriter& writer)
{
    TGrundBT::WriteData(writer);
    writer.WriteString(Server.Host);
    writer.WriteInteger(Server.Port);
    writer.WriteString(Server.User);
    writer.WriteString(Server.Password);
    writer.WriteString(SenderAddress);
    for (const QStringList* lines : {&TextLines, &AttachmentLines, &RecipientLines}) {
        writer.WriteInteger(int32_t(lines->size()));
        for (const QString& line : *lines)
            writer.WriteString(line);
    }
}

void TBTEmailSenden::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    Server.Host = reader.ReadString();
    Server.Port = reader.ReadInteger();
    Server.User = reader.ReadString();
    Server.Password = reader.ReadString();
    SenderAddress = reader.ReadString();
    const auto readLines = [&reader](QStringList& lines) {
        lines.clear();
        const int32_t n = reader.ReadInteger();
        for (int32_t i = 0; i < n; ++i)
            lines << reader.ReadString();
    };
    readLines(TextLines);
    readLines(AttachmentLines);
    if (version >= 42)
        readLines(RecipientLines);
    else
        RecipientLines.clear();
}

int TBTEmailSenden::EditProperties()
{
    int32_t parameters = ParameterCount();
    QString host = Server.Host;
    QString user = Server.User;
    QString password = Server.Password;
    QString port = QString::number(Server.Port);
    QString sender = SenderAddress;
    QStringList recipients = RecipientLines;
    QStringList text = TextLines;
    QStringList attachments = AttachmentLines;
    const int result = BlockSupport::ShowSettings(*this, [&](TPropScrollbox& sheet) {
        sheet.AddSpinProp(Translate(QStringLiteral("Eingänge")), parameters, 1, kMaxParameters,
                          64);
        sheet.AddCaptionProp(QStringLiteral("SMTP"));
        sheet.AddEditProp(QStringLiteral("Server"), host, 0, 220);
        sheet.AddEditProp(QStringLiteral("Login name"), user, 0, 220);
        sheet.AddEditProp(QStringLiteral("Password"), password, 0, 220);
        if (auto* row = dynamic_cast<TEditPropEditor*>(sheet.Rows().back()->Editor)) {
            row->Edit->setEchoMode(QLineEdit::Password);
            row->Edit->setStyleSheet(QStringLiteral("lineedit-password-character: 164"));
        }
        sheet.AddEditProp(QStringLiteral("Port"), port, 0, 64);
        sheet.AddEditProp(QStringLiteral("Email address"), sender, 0, 220);
        sheet.AddCaptionProp(QStringLiteral("Message"));
        sheet.AddMemoProp(Translate(QStringLiteral("Empfänger")), recipients, 220, 50);
        sheet.AddMemoProp(Translate(QStringLiteral("Text")), text, 220, 150);
        sheet.AddMemoProp(QStringLiteral("Attachments"), attachments, 220, 50);
    });
    if (result != mrOk)
        return result;
    if (parameters + InFirstParameter != InputCount)
        SetInputCount(parameters + InFirstParameter);
    Server.Host = host;
    Server.User = user;
    Server.Password = password;
    SenderAddress = sender;
    RecipientLines = recipients;
    TextLines = text;
    AttachmentLines = attachments;
    bool ok = false;
    const int value = port.trimmed().toInt(&ok);
    if (ok)
        Server.Port = value;
    else
        MessageDlg(Lang3Q("\"%1\" ist keine ganze Zahl; der Port bleibt %2.",
                          "\"%1\" is not a whole number; the port stays %2.",
                          "\"%1\" n'est pas un nombre entier ; le port reste %2.")
                       .arg(port)
                       .arg(Server.Port),
                   mtError, mbOK);
    return result;
}

QString TBTEmailSenden::GetHint() const
{
    QString hint = TGrundBT::GetHint();
    if (Failed)
        hint += QLatin1Char('\r') + LastError;
    return hint;
}

void TBTEmailSenden::Calculate()
{
    if (m_queue.HasFailure() || (m_sent && !m_queue.Busy()))
        TakeResult();
    const bool level = GetInputDigital(InSend);
    if (level == m_lastLevel)
        return;
    m_lastLevel = level;
    if (!level)
        Send();
}

void TBTEmailSenden::Send()
{
    TMailOrder order;
    order.Server = Server;
    order.SenderName = GetLabel();
    order.SenderAddress = SenderAddress;
    order.RecipientLines = RecipientLines;
    order.ExtraRecipient = GetInputText(InTo);
    order.Subject = GetInputText(InSubject);
    order.TextLines = TextLines;
    for (int k = 0; k < ParameterCount(); ++k)
        order.Parameters << GetInputText(InFirstParameter + k);
    order.AttachmentLines = AttachmentLines;
    m_sent = true;
    m_queue.Post([order = std::move(order)](const std::atomic<bool>& cancel) {
        return SendMail(order.Server, PrepareMail(order), &cancel);
    });
}

void TBTEmailSenden::TakeResult()
{
    if (!m_queue.HasFailure()) {
        Failed = false;
        m_sent = false;
        return;
    }
    m_sent = m_queue.Busy();
    Failed = true;
    LastError = m_queue.TakeFailure();
    if (m_reported)
        return;
    m_reported = true;
    MessageBoxAfterStep(Lang3Q("Die E-Mail wurde nicht gesendet:\r%1",
                           "The e-mail was not sent:\r%1", "L'e-mail n'a pas été envoyé :\r%1")
                        .arg(LastError),
                    QString(GetLabel()).replace(QLatin1Char('\r'), QLatin1Char(' ')),
                    mtWarning);
}

void TBTEmailSenden::SimReset()
{
    // The level of "|SND" is kept from one run to the next; only the report starts afresh.
    m_reported = false;
}
