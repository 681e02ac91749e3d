#include "components/file/FileComponents.h"

#include "components/analog/Integrators.h"
#include "core/model/Translator.h"
#include "platform/Cp1252.h"
#include "platform/Filer.h"
#include "platform/Paths.h"
#include "ui/Formats.h"
#include "ui/PropertySheet.h"

#include <QFile>
#include <QFileInfo>

using namespace FileWrites;

// --- TBTFileAccess ---------------------------------------------------------------------------

TBTFileAccess::TBTFileAccess(const TComponentDescription& description, QString fileName,
                             bool saveRow)
    : TBTFileBlock(description, 20, 34), FileName(std::move(fileName)), m_saveRow(saveRow)
{
}

void TBTFileAccess::WriteData(TWriter& writer)
{
    TBTFileBlock::WriteData(writer);
    writer.WriteString(FileName);
}

void TBTFileAccess::ReadData(TReader& reader, uint8_t version)
{
    TBTFileBlock::ReadData(reader, version);
    FileName = reader.ReadString();
}

int TBTFileAccess::EditProperties()
{
    const QString word = Translate(QStringLiteral("Datei"));
    const int result = BlockSupport::ShowSettings(*this, [&](TPropScrollbox& sheet) {
        const QString caption = word + QStringLiteral(" [*.*]");
        const QString filter = word + QStringLiteral(" (*.*)|*.*");
        if (m_saveRow)
            sheet.AddSaveFileProp(caption, FileName, 0, 250, filter, QString());
        else
            sheet.AddFileProp(caption, FileName, 0, 250, filter, QString());
    });
    DialogClosed();
    return result;
}

QString TBTFileAccess::GetHint() const
{
    return FileWrites::HintWithFile(TBTFileBlock::GetHint(), FileName);
}

// --- TBTFileRead -----------------------------------------------------------------------------

const TComponentDescription TBTFileRead::Description{
    .Name = "TBTFileRead", .Prefix = {"FileRead"}, .HelpContext = 18585,
    .TypeName = {"Datei\rBytes lesen", "File\rRead bytes", "Fichier\rLecture octets"},
    .Caption = {"RD"}, .Inputs = {2}, .Outputs = {9}, .InputNames = "|CLK /RST",
    .OutputNames = "/EOF D7..0", .Category = TPaletteCategory::Dateizugriff};

TBTFileRead::TBTFileRead()
    : TBTFileAccess(Description, ProgramPath(QStringLiteral("Data/Bytes.txt")), false)
{
}

void TBTFileRead::SetByte(int byte)
{
    for (int bit = 0; bit < 8; ++bit)
        SetOutputDigital(OutputFromTop(bit), (byte >> bit) & 1);
}

void TBTFileRead::Calculate()
{
    const bool clock = GetInputDigital(InClock);
    if (clock == m_lastClock)
        return;
    m_lastClock = clock;
    if (clock) {
        m_reset = GetInputDigital(InReset);
        if (m_reset != m_lastReset && !m_reset) {
            SetByte(0);
            Position = 0;
        }
        m_lastReset = m_reset;
        return;
    }
    FileName = FindDataFile(FileName);
    QFile file(FileName);
    const bool open = file.open(QIODevice::ReadOnly) && file.seek(Position);
    SetOutputDigital(OutEof, open && Position < file.size());
    if (m_reset) {
        char byte = 0;
        if (open && file.getChar(&byte))
            ++Position;
        else
            byte = 0;
        SetByte(static_cast<uint8_t>(byte));
    }
}

void TBTFileRead::SimReset()
{
    SetByte(0);
    m_lastClock = false;
    m_lastReset = true;
    m_reset = true;
    Position = 0;
}

// --- TBTFileWrite ----------------------------------------------------------------------------

const TComponentDescription TBTFileWrite::Description{
    .Name = "TBTFileWrite", .Prefix = {"FileWrite"}, .HelpContext = 18590,
    .TypeName = {"Datei\rBytes schreiben", "File\rWrite bytes", "Ecriture octets\rdans fichier"},
    .Caption = {"WR"}, .Inputs = {10}, .Outputs = {0}, .InputNames = "D0..7 |CLK /RST",
    .Category = TPaletteCategory::Dateizugriff};

TBTFileWrite::TBTFileWrite() : TBTFileAccess(Description, QStringLiteral("DATA\\BYTES.TXT"), true)
{
}

QString TBTFileWrite::Target()
{
    if (FileName.isEmpty())
        return QString();
    const QString path = ResolvePath(FileName);
    if (!QFileInfo(QFileInfo(path).path()).isDir())
        FileName = FindDataFile(FileName);
    return ResolvePath(FileName);
}

void TBTFileWrite::Truncate()
{
    const QString path = Target();
    if (!path.isEmpty())
        ReplaceFileChecked(path, QByteArray());
}

void TBTFileWrite::Calculate()
{
    const bool clock = GetInputDigital(InClock);
    if (clock == m_lastClock)
        return;
    m_lastClock = clock;
    if (!clock) {
        m_reset = GetInputDigital(InReset);
        if (m_reset != m_lastReset && !m_reset)
            Truncate();
        m_lastReset = m_reset;
        return;
    }
    if (!m_reset)
        return;
    char byte = 0;
    for (int bit = 0; bit < 8; ++bit)
        if (GetInputDigital(bit))
            byte = static_cast<char>(byte | (1 << bit));
    const QString path = Target();
    if (!path.isEmpty())
        AppendChecked(path, QByteArray(1, byte));
}

void TBTFileWrite::SimReset()
{
    ForgetWriteFailures();
    m_lastClock = false;
    m_lastReset = true;
    m_reset = true;
}

// --- TBTFileReadLine -------------------------------------------------------------------------

const TComponentDescription TBTFileReadLine::Description{
    .Name = "TBTFileReadLine", .Prefix = {"RDLN"}, .HelpContext = 18591,
    .TypeName = {"Datei\rReadLine", "File\rReadLine", "Fichier\rReadLine"}, .Caption = {"RD"},
    .Inputs = {2}, .Outputs = {2}, .InputNames = "i |RST", .OutputNames = "/EOF $LN",
    .Category = TPaletteCategory::Dateizugriff};

TBTFileReadLine::TBTFileReadLine()
    : TBTFileAccess(Description, ProgramPath(QStringLiteral("Data/Lines.txt")), false)
{
}

void TBTFileReadLine::Load()
{
    Lines.clear();
    QFile file(FindDataFile(FileName));
    if (!file.open(QIODevice::ReadOnly))
        return;
    QString text = FromCp1252(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    Lines = text.split(QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n')) || text.isEmpty())
        Lines.removeLast();
}

void TBTFileReadLine::Calculate()
{
    const bool reset = GetInputDigital(InReset);
    if (reset != m_lastReset) {
        m_lastReset = reset;
        if (!reset)
            Load();
    }
    const int64_t index = RoundHalfEven(GetInputValue(InIndex));
    if (index == -1)
        return;
    const bool eof = index < 0 || index > Lines.size() - 1;
    SetOutputDigital(OutEof, eof);
    SetOutputText(OutLine, eof ? QString() : Lines.at(qsizetype(index)));
}

void TBTFileReadLine::SimReset()
{
    Load();
}
