#include "components/file/MeasurementRecorder.h"

#include "components/analog/Integrators.h"
#include "core/model/Translator.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/Cp1252.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"

#include <QFileInfo>
#include <QLocale>

using namespace FileWrites;

const TComponentDescription TBTMesswertRecorder::Description{
    .Name = "TBTMesswertRecorder", .Prefix = {"REC"}, .HelpContext = 18560,
    .TypeName = {"Messwert-\rRekorder", "Data recorder", "Enregistreur\rde données"},
    .Caption = {"MWR", "REC", "REC"}, .Inputs = {3, 3, kMaxChannels + 2}, .Outputs = {0},
    .InputNames = "E1 |Add /RST", .Category = TPaletteCategory::Dateizugriff};

TBTMesswertRecorder::TBTMesswertRecorder()
    : TBTFileBlock(Description, 38, 32),
      FilePrefix(Lang3Q("Datei", "File", "Fichier"))
{
    for (TFormat& f : Formats) {
        f.Options = TFormatOptions{TFormatOption::Fixed};
        f.Digits = 4;
        f.Decimals = 2;
    }
}

void TBTMesswertRecorder::NameInputs()
{
    QStringList names;
    for (int k = 1; k <= InputCount - 2; ++k)
        names << QStringLiteral("E%1").arg(k);
    names << QStringLiteral("|Add") << QStringLiteral("/RST");
    NamePins(Inputs, names);
}

void TBTMesswertRecorder::CheckStoredPins(int32_t inputs, int32_t outputs) const
{
    TReader::CheckCount(inputs, 3, kMaxChannels + 2, "InputCount");
    TReader::CheckCount(outputs, 0, 0, "OutputCount");
}

void TBTMesswertRecorder::WriteData(TWriter& writer)
{
    TBTFileBlock::WriteData(writer);
    writer.WriteInteger(Channels);
    writer.WriteString(FilePrefix);
    writer.WriteBoolean(RecordDate);
    writer.WriteBoolean(RecordTime);
    writer.WriteBoolean(Overwrite);
    for (const TFormat& f : Formats)
        f.WriteData(writer);
}

void TBTMesswertRecorder::ReadData(TReader& reader, uint8_t version)
{
    TBTFileBlock::ReadData(reader, version);
    Channels = std::clamp(reader.ReadInteger(), 1, kMaxChannels);
    FilePrefix = reader.ReadString();
    RecordDate = reader.ReadBoolean();
    RecordTime = reader.ReadBoolean();
    Overwrite = reader.ReadBoolean();
    if (version >= 40)
        for (TFormat& f : Formats)
            f.ReadData(reader);
}

int TBTMesswertRecorder::EditProperties()
{
    Channels = InputCount - 2;
    const int shown = Channels;
    const int result = BlockSupport::ShowSettings(*this, [&](TPropScrollbox& sheet) {
        if (!Ctx().SimRunning && !Ctx().RuntimeMode)
            sheet.AddSpinProp(Translate(QStringLiteral("Kanäle")), Channels, 1, kMaxChannels, 64);
        sheet.AddEditProp(Translate(QStringLiteral("Dateipräfix")), FilePrefix, 0, 120);
        sheet.AddCheckProp(Translate(QStringLiteral("Datei überschreiben")), Overwrite);
        sheet.AddCheckProp(Translate(QStringLiteral("Zeit aufzeichnen")), RecordTime);
        sheet.AddCheckProp(Translate(QStringLiteral("Datum aufzeichnen")), RecordDate);
        sheet.AddCaptionProp(Translate(QStringLiteral("Format")));
        for (int k = 0; k < shown; ++k)
            sheet.AddFormatProp(Translate(QStringLiteral("Kanal")) + QStringLiteral(" %1").arg(k + 1),
                                Formats[size_t(k)]);
    });
    Channels = std::clamp(Channels, 1, kMaxChannels);
    SetInputCount(Channels + 2);
    return result;
}

QString TBTMesswertRecorder::GetHint() const
{
    QString hint = TBTFileBlock::GetHint();
    if (!FilePrefix.isEmpty())
        hint += QStringLiteral("\r\"") + FilePrefix + QLatin1Char('"');
    return hint;
}

void TBTMesswertRecorder::StartFile()
{
    // The prefix names a file, never a folder: separators in it do not lead out of "Data".
    const QString stem = DataFolder() + SafeFileName(FilePrefix);
    if (Overwrite) {
        FileName = stem + QStringLiteral(".TXT");
    } else {
        int k = 1;
        while (QFileInfo::exists(stem + QString::number(k) + QStringLiteral(".TXT")))
            ++k;
        FileName = stem + QString::number(k) + QStringLiteral(".TXT");
    }
    ReplaceFileChecked(FileName, QByteArray());
}

QString TBTMesswertRecorder::Line() const
{
    QStringList fields;
    const int channels = InputCount - 2;
    for (int k = 0; k < channels; ++k) {
        const TFormat& f = Formats[size_t(k)];
        fields << (f.Options.Contains(TFormatOption::Unformatted)
                       ? GetInputText(k)
                       : f.FormatValue(static_cast<double>(GetInputValue(k))));
    }
    const QDateTime now = Clock().LocalTime();
    if (RecordTime)
        fields << QLocale::system().toString(now.time(), QStringLiteral("HH:mm:ss"));
    if (RecordDate)
        fields << QLocale::system().toString(now.date(), QLocale::ShortFormat);
    return fields.join(QLatin1Char(';'));
}

void TBTMesswertRecorder::Calculate()
{
    const int channels = InputCount - 2;
    const bool add = GetInputDigital(channels);
    const bool reset = GetInputDigital(channels + 1);
    if (reset && m_lastAdd && !add)
        AppendChecked(FileName, ToCp1252(Line() + QStringLiteral("\r\n")));
    if (!reset && m_lastReset)
        StartFile();
    m_lastAdd = add;
    m_lastReset = reset;
}

void TBTMesswertRecorder::SimReset()
{
    ForgetWriteFailures();
    StartFile();
}

void TBTMesswertRecorder::SimEnd() {}
