#include "components/timing/Memory.h"

#include "components/timing/MemoryEditor.h"
#include "core/model/Translator.h"
#include "platform/Canvas.h"
#include "platform/Context.h"
#include "platform/FileIO.h"
#include "platform/Filer.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/Formats.h"
#include "widgets/BrowseEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <algorithm>
#include <cstring>

namespace {
int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;  // lower case is no hex digit in a memory file
}

// A memory file of 64 KB with generous comments stays far below this.
constexpr qint64 MaxMemoryFileBytes = 16 * 1024 * 1024;
} // namespace

int ParseMemoryText(const QByteArray& text, int size, uint8_t* out)
{
    int i = 0;
    for (const QByteArray& rawLine : text.split('\n')) {
        if (i >= size)
            break;
        const QByteArray line = rawLine.endsWith('\r') ? rawLine.chopped(1) : rawLine;
        qsizetype p = 0;
        while (p + 1 < line.size()) {
            const int hi = HexValue(line[p]);
            const int lo = HexValue(line[p + 1]);
            if (hi >= 0 && lo >= 0) {
                if (i < size)
                    out[i++] = uint8_t(hi * 16 + lo);
                p += 2;
            } else {
                ++p;
            }
        }
    }
    return i;
}

QByteArray MemoryText(const uint8_t* bytes, int size)
{
    static const char digits[] = "0123456789ABCDEF";
    QByteArray text;
    text.reserve(size * 4);
    for (int i = 0; i < size; ++i) {
        text.append(digits[bytes[i] >> 4]);
        text.append(digits[bytes[i] & 15]);
        text.append("\r\n");
    }
    return text;
}

int LoadMemoryFile(const QString& fileName, int size, uint8_t* out, QString* error)
{
    QByteArray text;
    if (!ReadWholeFile(fileName, MaxMemoryFileBytes, &text, error))
        return -1;
    std::memset(out, 0, size_t(size));
    return ParseMemoryText(text, size, out);
}

// --- TBTMemory -------------------------------------------------------------------------------

TBTMemory::TBTMemory(const TComponentDescription& description) : Memory(MemorySize, 0)
{
    Describe(description);
    SetElementClass(QString());
    Editable = true;
}

uint16_t TBTMemory::LastAddress() const
{
    const int bits = std::clamp(AddressBits(), 0, 16);
    return uint16_t((1u << bits) - 1u);
}

int TBTMemory::Address() const
{
    const int bits = std::clamp(AddressBits(), 0, 16);
    int addr = 0;
    for (int i = 0; i < bits; ++i)
        if (GetInputDigital(i))
            addr |= 1 << i;
    return addr & LastAddress();
}

void TBTMemory::Show(int32_t v)
{
    if (v == LastValue)
        return;
    for (int j = 0; j < 8; ++j)
        SetOutputDigital(j, (v >> (7 - j)) & 1);
    LastValue = v;
}

void TBTMemory::SimReset()
{
    LastValue = -1;
    if (!AutoLoad)
        return;
    QString error;
    if (LoadMemoryFile(FindDataFile(FileName), Size(), Memory.data(), &error) < 0)
        MessageDlg(Lang3Q("%1: Die Speicherdatei wurde nicht eingelesen, der Speicher behält "
                          "seinen Inhalt.\r%2",
                          "%1: The memory file was not read; the memory keeps its contents.\r%2",
                          "%1 : Le fichier mémoire n'a pas été lu, la mémoire garde son "
                          "contenu.\r%2")
                       .arg(GetLabel(), error),
                   mtError, mbOK);
}

void TBTMemory::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawSymbolCaption(canvas, SymbolCaption(), 0);
}

int TBTMemory::EditProperties()
{
    THexEditor editor;
    const int bits = std::clamp(AddressBits(), MinAddressBits, MaxAddressBits);
    editor.cb_Groesse->blockSignals(true);
    editor.cb_Groesse->setCurrentIndex(bits - MinAddressBits);
    editor.cb_Groesse->blockSignals(false);
    editor.Size = Size();
    editor.CB_AutoLoad->setChecked(AutoLoad);
    editor.E_Datei->SetFilename(FileName);
    editor.HelpContext = HelpContext;
    editor.setWindowTitle(GetLabel());
    std::copy_n(Memory.begin(), Size(), editor.Memory.begin());
    editor.SetMode(DisplayMode);
    const bool editable = !Ctx().SimRunning && !Ctx().RuntimeMode;
    editor.cb_RuntimeEdit->setChecked(RunTimeAdjustable);
    editor.cb_RuntimeEdit->setVisible(editable);
    editor.cb_Groesse->setEnabled(editable);
    const int result = ShowModal(editor);
    editor.FormClose();
    if (result == mrOk) {
        RunTimeAdjustable = editor.cb_RuntimeEdit->isChecked();
        const int32_t inputs = InputsFor(editor.cb_Groesse->currentIndex() + MinAddressBits);
        if (inputs != int32_t(Inputs.size()))
            SetInputCount(inputs);
        AutoLoad = editor.CB_AutoLoad->isChecked();
        FileName = editor.E_Datei->Filename();
        std::copy_n(editor.Memory.begin(), Size(), Memory.begin());
        DisplayMode = editor.Mode;
    }
    return result;
}

QString TBTMemory::GetHint() const
{
    QString hint = TGrundBT::GetHint() + QLatin1Char('\r') + QString::number(Size())
        + QStringLiteral(" Bytes");
    const QString name = QFileInfo(FileName).fileName();
    if (AutoLoad && !name.isEmpty())
        hint += QLatin1Char('\r') + name;
    return hint;
}

void TBTMemory::WriteContents(TWriter& writer)
{
    writer.WriteBuffer(Memory.data(), Size());
}

void TBTMemory::ReadContents(TReader& reader)
{
    reader.ReadBuffer(Memory.data(), Size());
}

// --- TBTRAM ----------------------------------------------------------------------------------

const TComponentDescription TBTRAM::Description{
    .Name = "TBTRAM", .Prefix = {"RAM"}, .HelpContext = 18385, .TypeName = {"RAM"},
    .Caption = {"RAM"}, .Inputs = {17, 17, 25}, .Outputs = {8}, .OutputNames = "D7..0",
    .Category = TPaletteCategory::RamRom};

TBTRAM::TBTRAM() : TBTMemory(Description) {}

void TBTRAM::NameInputs()
{
    const int k = AddressBits();
    QStringList names;
    for (int i = 0; i < k; ++i)
        names << QStringLiteral("A%1").arg(i);
    for (int i = 0; i < 8; ++i)
        names << QStringLiteral("Di%1").arg(i);
    names << QStringLiteral("|R/W");
    NamePins(Inputs, names);
}

void TBTRAM::SimReset()
{
    TBTMemory::SimReset();
    PrevRW = false;
}

void TBTRAM::Calculate()
{
    const int k = AddressBits();
    const bool rw = GetInputDigital(int(Inputs.size()) - 1);
    int32_t v = LastValue;
    if (rw) {
        v = Memory[size_t(Address())];
    } else if (PrevRW) {
        int data = 0;
        for (int i = 0; i < 8; ++i)
            if (GetInputDigital(k + i))
                data |= 1 << i;
        Memory[size_t(Address())] = uint8_t(data);
    }
    Show(v);
    PrevRW = rw;
}

void TBTRAM::WriteData(TWriter& writer)
{
    TBTMemory::WriteData(writer);
    writer.WriteBoolean(AutoLoad);
    writer.WriteString(FileName);
    WriteContents(writer);
}

void TBTRAM::ReadData(TReader& reader, uint8_t version)
{
    TBTMemory::ReadData(reader, version);
    if (version <= 1)
        return;
    AutoLoad = reader.ReadBoolean();
    FileName = reader.ReadString();
    ReadContents(reader);
}

// --- TBTROM ----------------------------------------------------------------------------------

const TComponentDescription TBTROM::Description{
    .Name = "TBTROM", .Prefix = {"ROM"}, .HelpContext = 18390, .TypeName = {"ROM"},
    .Caption = {"ROM"}, .Inputs = {10, 8, 16}, .Outputs = {8}, .OutputNames = "D7..0",
    .Category = TPaletteCategory::RamRom};

TBTROM::TBTROM() : TBTMemory(Description) {}

void TBTROM::NameInputs()
{
    QStringList names;
    for (int i = 0; i < AddressBits(); ++i)
        names << QStringLiteral("A%1").arg(i);
    NamePins(Inputs, names);
}

void TBTROM::Calculate()
{
    Show(Memory[size_t(Address())]);
}

void TBTROM::WriteData(TWriter& writer)
{
    TBTMemory::WriteData(writer);
    WriteContents(writer);
    writer.WriteBoolean(AutoLoad);
    writer.WriteString(FileName);
}

void TBTROM::ReadData(TReader& reader, uint8_t version)
{
    TBTMemory::ReadData(reader, version);
    ReadContents(reader);
    if (version <= 1)
        return;
    AutoLoad = reader.ReadBoolean();
    FileName = reader.ReadString();
}
