// RAM and ROM: reading and writing on real pins, addresses that never pass the memory in use,
// records of every version, memory files (parsing, auto-load, missing and unwritable files),
// and the memory editor: cells, views, size, fill and the round trip through the component.
#include "ComponentTestSupport.h"
#include "components/timing/Memory.h"
#include "components/timing/MemoryEditor.h"
#include "components/timing/RegisterTiming.h"
#include "platform/FileIO.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "widgets/BrowseEdit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>

namespace {

using MemoryTest = TComponentTest<RegisterTimingComponents, true>;

// The byte on "D7" ... "D0".
int OutputByte(const TIOBauteil& c)
{
    int v = 0;
    for (int j = 0; j < 8; ++j)
        if (c.Outputs[j]->Value >= 2.5L)
            v |= 1 << (7 - j);
    return v;
}

QByteArray Bytes(const std::vector<uint8_t>& memory, int n)
{
    return QByteArray(reinterpret_cast<const char*>(memory.data()), n);
}

} // namespace

// Address 5, data 0xA5, "|R/W" high then low: the byte is written on the falling edge; the
// outputs keep the old value until "|R/W" is high again.
TEST_F(MemoryTest, RamWritesOnTheFallingEdgeAndReadsWhileHigh)
{
    auto c = Create<TBTRAM>();
    ASSERT_EQ(c->InputCount, 17);
    const int rw = 16;
    TDrivers in(*c, false);
    c->Memory[5] = 0x11;
    c->SimReset();
    in.SetNumber(0, 8, 5);
    in.SetNumber(8, 8, 0xA5);
    in.Set(rw, true);
    c->Calculate();
    EXPECT_EQ(OutputByte(*c), 0x11);
    in.Set(rw, false);
    c->Calculate();
    EXPECT_EQ(c->Memory[5], 0xA5);
    EXPECT_EQ(OutputByte(*c), 0x11);
    in.SetNumber(8, 8, 0x3C);  // no edge: nothing written
    c->Calculate();
    EXPECT_EQ(c->Memory[5], 0xA5);
    in.Set(rw, true);
    c->Calculate();
    EXPECT_EQ(OutputByte(*c), 0xA5);
    EXPECT_EQ(c->Outputs[0]->Value, 5.0L);  // "D7"
    EXPECT_EQ(c->Outputs[1]->Value, 0.0L);  // "D6"

    // "|R/W" unconnected reads high: the RAM never writes.
    auto open = Create<TBTRAM>();
    TInputs oin(*open);
    oin.Set(8, 5);
    open->SimReset();
    for (int i = 0; i < 3; ++i)
        open->Calculate();
    EXPECT_EQ(open->Memory[0], 0);
}

// A ROM whose address stays writes its outputs only in the first step after the reset.
TEST_F(MemoryTest, RomWritesItsOutputsOnlyWhenTheValueChanges)
{
    auto c = Create<TBTROM>();
    ASSERT_EQ(c->Size(), 1024);
    TDrivers in(*c, false);
    c->Memory[0x3FF] = 0x80;
    in.SetNumber(0, 10, 0x3FF);
    c->SimReset();
    c->Calculate();
    EXPECT_EQ(OutputByte(*c), 0x80);
    c->Outputs[0]->Value = 0.0L;  // not written again while the value stays
    c->Calculate();
    EXPECT_EQ(c->Outputs[0]->Value, 0.0L);
    c->SimReset();  // the next run writes anew
    c->Calculate();
    EXPECT_EQ(OutputByte(*c), 0x80);
}

// Sizes and pins: k address inputs give 2^k bytes; stored input counts outside 8 .. 16 address
// bits are refused, so no address ever reaches past the 64 KB array.
TEST_F(MemoryTest, SizesPinsAndStoredCounts)
{
    auto ram = Create<TBTRAM>();
    QStringList names = Numbered("A", 0, 7) + Numbered("Di", 0, 7);
    names << QStringLiteral("|R/W");
    EXPECT_EQ(PinNames(ram->Inputs), names);
    EXPECT_EQ(PinNames(ram->Outputs), Numbered("D", 7, 0));
    EXPECT_EQ(ram->Size(), 256);
    ram->SetInputCount(25);
    EXPECT_EQ(ram->Size(), 65536);
    EXPECT_EQ(PinNames(ram->Inputs).mid(14, 4), (QStringList{"A14", "A15", "Di0", "Di1"}));

    auto rom = Create<TBTROM>();
    EXPECT_EQ(PinNames(rom->Inputs), Numbered("A", 0, 9));
    for (auto [cls, inputs, ok] : {std::tuple{"TBTRAM", 16, false}, std::tuple{"TBTRAM", 17, true},
                                   std::tuple{"TBTRAM", 25, true}, std::tuple{"TBTRAM", 26, false},
                                   std::tuple{"TBTROM", 7, false}, std::tuple{"TBTROM", 16, true},
                                   std::tuple{"TBTROM", 17, false}}) {
        SCOPED_TRACE(testing::Message() << cls << " " << inputs);
        auto c = Create<TBTMemory>(cls);
        QByteArray record = ComponentPart(inputs, 8, 44);
        if (ok) {
            QBuffer buffer(&record);
            buffer.open(QIODevice::Append);
            TWriter w(buffer);
            const int size = 1 << (c->ClassName() == QLatin1String("TBTRAM") ? inputs - 9 : inputs);
            if (c->ClassName() == QLatin1String("TBTRAM")) {
                w.WriteBoolean(false);
                w.WriteString(QString());
            }
            w.WriteBuffer(QByteArray(size, '\x7f').constData(), size);
            if (c->ClassName() == QLatin1String("TBTROM")) {
                w.WriteBoolean(false);
                w.WriteString(QString());
            }
            buffer.close();
            ASSERT_TRUE(Read(*c, record));
            TDrivers in(*c, true);
            c->SimReset();
            c->Calculate();
            EXPECT_EQ(c->Address(), size - 1);
            EXPECT_EQ(OutputByte(*c), 0x7f);
        } else {
            EXPECT_THROW(Read(*c, record), EFilerError);
        }
    }
}

// RAM: auto-load, file name, bytes; ROM: bytes, auto-load, file name. Version 1 and older
// files hold no memory part in a RAM and only the bytes in a ROM.
TEST_F(MemoryTest, RecordsOfEveryVersion)
{
    for (const char* cls : {"TBTRAM", "TBTROM"}) {
        SCOPED_TRACE(cls);
        auto c = Create<TBTMemory>(cls);
        for (int i = 0; i < c->Size(); ++i)
            c->Memory[size_t(i)] = uint8_t(i * 7);
        c->Memory[size_t(c->Size())] = 0xEE;  // beyond the size: not stored
        c->AutoLoad = true;
        c->FileName = QStringLiteral("daten/speicher.hex");
        c->DisplayMode = 1;
        const QByteArray data = Write(*c);
        auto copy = Create<TBTMemory>(cls);
        ASSERT_TRUE(Read(*copy, data));
        EXPECT_EQ(Bytes(copy->Memory, 65536).left(c->Size()), Bytes(c->Memory, c->Size()));
        EXPECT_EQ(copy->Memory[size_t(c->Size())], 0);
        EXPECT_TRUE(copy->AutoLoad);
        EXPECT_EQ(copy->FileName, c->FileName);
        EXPECT_EQ(copy->DisplayMode, 0);  // not stored
        EXPECT_EQ(Write(*copy), data);

        // Version 1.
        QByteArray old = ComponentPart(c->InputCount, 8, 1);
        QBuffer buffer(&old);
        buffer.open(QIODevice::Append);
        if (c->ClassName() == QLatin1String("TBTROM"))
            TWriter(buffer).WriteBuffer(QByteArray(c->Size(), '\x42').constData(), c->Size());
        buffer.close();
        auto v1 = Create<TBTMemory>(cls);
        v1->Memory[0] = 9;
        ASSERT_TRUE(Read(*v1, old, 1));
        EXPECT_EQ(v1->Memory[0], c->ClassName() == QLatin1String("TBTROM") ? 0x42 : 9);
        EXPECT_FALSE(v1->AutoLoad);
    }
}

TEST_F(MemoryTest, MemoryFileText)
{
    struct Case {
        const char* text;
        int size;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"12 34 zz 5\r\n6789", 16, QByteArray::fromHex("12346789")},
        {"ab\n", 16, {}},
        {"123\n", 16, QByteArray::fromHex("12")},
        {"A;B\nFF,00\n0\n", 16, QByteArray::fromHex("ff00")},
        {"01 02 03\n04\n", 2, QByteArray::fromHex("0102")},
        {"", 16, {}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.text);
        std::vector<uint8_t> out(16, 0xCC);
        const int n = ParseMemoryText(QByteArray(k.text), k.size, out.data());
        EXPECT_EQ(n, k.bytes.size());
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(out.data()), n), k.bytes);
    }
    const uint8_t bytes[] = {0x00, 0x5a, 0xff};
    EXPECT_EQ(MemoryText(bytes, 3), QByteArray("00\r\n5A\r\nFF\r\n"));
}

// Run start with auto-load: the file's bytes, zero beyond them; a missing file is reported and
// the memory keeps its contents.
TEST_F(MemoryTest, AutoLoadAtRunStart)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto rom = Create<TBTROM>();
    rom->SetInputCount(12);  // 4 KB
    QByteArray text;
    for (int i = 0; i < 4096; ++i)
        text += QByteArray::number((i * 13) & 0xFF, 16).rightJustified(2, '0').toUpper() + "\r\n";
    const QString file = dir.filePath(QStringLiteral("rom.hex"));
    ASSERT_TRUE(WriteWholeFile(file, text));
    rom->AutoLoad = true;
    rom->FileName = file;
    rom->Memory.assign(65536, 0x55);
    rom->SimReset();
    for (int i = 0; i < 4096; ++i)
        ASSERT_EQ(rom->Memory[size_t(i)], (i * 13) & 0xFF) << i;
    EXPECT_TRUE(rom->GetHint().endsWith(QStringLiteral("\r4096 Bytes\rrom.hex")));

    // A short file: the rest becomes 0.
    ASSERT_TRUE(WriteWholeFile(file, "01 02\r\n"));
    rom->SimReset();
    EXPECT_EQ(rom->Memory[1], 2);
    EXPECT_EQ(rom->Memory[2], 0);
    EXPECT_EQ(rom->Memory[4095], 0);

    // Missing: one message in the current language, the contents stay.
    Ctx().CurrentLanguage = 1;
    rom->Memory[0] = 0x77;
    rom->FileName = dir.filePath(QStringLiteral("fehlt.hex"));
    TScopedMessageResponder messages;
    rom->SimReset();
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_TRUE(messages.Requests()[0].text.contains(QStringLiteral("memory keeps its contents")));
    EXPECT_TRUE(messages.Requests()[0].text.contains(QStringLiteral("fehlt.hex")));
    EXPECT_EQ(rom->Memory[0], 0x77);
    rom->Calculate();  // the run goes on

    // Without auto-load nothing is read.
    rom->AutoLoad = false;
    messages.Clear();
    rom->SimReset();
    EXPECT_TRUE(messages.Requests().empty());
    EXPECT_FALSE(rom->GetHint().contains(QStringLiteral("fehlt")));
    EXPECT_TRUE(rom->GetHint().endsWith(QStringLiteral("\r4096 Bytes")));
}

// --- Memory editor -----------------------------------------------------------------------------

TEST_F(MemoryTest, EditorValidatesCells)
{
    struct Case {
        uint8_t mode;
        const char* typed;
        bool ok;
        const char* stored;
    };
    const Case cases[] = {
        {THexEditor::Hex, "7", true, "07"},     {THexEditor::Hex, "", true, "00"},
        {THexEditor::Hex, "fe", true, "FE"},    {THexEditor::Hex, "1G", false, ""},
        {THexEditor::Hex, "123", false, ""},    {THexEditor::Binary, "", true, "0"},
        {THexEditor::Binary, "1", true, "1"},   {THexEditor::Binary, "2", false, ""},
        {THexEditor::Binary, "01", false, ""},  {THexEditor::Decimal, "007", true, "7"},
        {THexEditor::Decimal, "255", true, "255"}, {THexEditor::Decimal, "256", false, ""},
        {THexEditor::Decimal, "1000", false, ""},  {THexEditor::Decimal, "-1", false, ""},
        {THexEditor::Decimal, "", true, "0"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << int(k.mode) << " '" << k.typed << "'");
        QString text = QString::fromLatin1(k.typed);
        EXPECT_EQ(THexEditor::ValidateCell(k.mode, text), k.ok);
        if (k.ok) {
            EXPECT_EQ(text, QString::fromLatin1(k.stored));
        }
    }

    // An invalid entry warns in the current language and stores nothing.
    THexEditor editor;
    TScopedMessageResponder messages;
    editor.Memory[9] = 0x44;
    EXPECT_FALSE(editor.StoreCell(1, 1, QStringLiteral("1G")));
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_EQ(messages.Requests()[0].text, QStringLiteral("Kein gültiger HEX-Wert"));
    EXPECT_EQ(messages.Requests()[0].caption, QStringLiteral("Fehleingabe"));
    EXPECT_EQ(editor.Memory[9], 0x44);
    EXPECT_TRUE(editor.StoreCell(1, 1, QStringLiteral("7")));
    EXPECT_EQ(editor.Memory[9], 0x07);
    EXPECT_EQ(editor.CellText(1, 1), QStringLiteral("07"));

    Ctx().CurrentLanguage = 2;
    editor.SetMode(THexEditor::Binary);
    EXPECT_FALSE(editor.StoreCell(0, 3, QStringLiteral("x")));
    EXPECT_EQ(messages.Requests().back().text, QStringLiteral("Valeur binaire incorrecte"));
    // Binary: column c is bit c of the row's byte; a double click inverts it.
    EXPECT_TRUE(editor.StoreCell(7, 9, QStringLiteral("1")));
    EXPECT_EQ(editor.Memory[9], 0x87);
    editor.ToggleBit(0, 9);
    EXPECT_EQ(editor.Memory[9], 0x86);
    EXPECT_EQ(editor.CellText(0, 9), QStringLiteral("0"));
    EXPECT_EQ(editor.CellText(7, 9), QStringLiteral("1"));
}

// Leaving a cell with an invalid text keeps the cursor there; a valid one is stored on leaving.
TEST_F(MemoryTest, EditorGridRefusesToLeaveAnInvalidCell)
{
    THexEditor editor;
    editor.show();
    TScopedMessageResponder messages;
    QAbstractItemModel* model = editor.HexGrid->model();
    const QModelIndex cell = model->index(2, 3);
    editor.HexGrid->setCurrentIndex(cell);
    editor.HexGrid->edit(cell);
    auto* line = editor.HexGrid->viewport()->findChild<QLineEdit*>();
    ASSERT_TRUE(line);
    line->setText(QStringLiteral("1G"));
    editor.HexGrid->setCurrentIndex(model->index(5, 5));
    QApplication::processEvents();
    EXPECT_EQ(editor.HexGrid->currentIndex(), cell);
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_EQ(editor.Memory[2 * 8 + 3], 0);

    line->setText(QStringLiteral("c"));
    editor.HexGrid->setCurrentIndex(model->index(5, 5));
    QApplication::processEvents();
    EXPECT_EQ(editor.HexGrid->currentIndex(), model->index(5, 5));
    EXPECT_EQ(editor.Memory[2 * 8 + 3], 0x0C);
    EXPECT_EQ(model->data(cell, Qt::DisplayRole).toString(), QStringLiteral("0C"));
    EXPECT_EQ(messages.Requests().size(), 1u);

    // A value still being typed when the window closes is stored.
    editor.HexGrid->edit(model->index(5, 5));
    line = nullptr;
    for (QLineEdit* e : editor.HexGrid->viewport()->findChildren<QLineEdit*>())
        if (!e->isHidden())
            line = e;
    ASSERT_TRUE(line);
    line->setText(QStringLiteral("9"));
    editor.FormClose();
    EXPECT_EQ(editor.Memory[5 * 8 + 5], 0x09);
}

// The views keep the place shown; headers and texts of each view; size and fill.
TEST_F(MemoryTest, EditorViewsSizeAndFill)
{
    THexEditor editor;
    editor.resize(500, 400);
    editor.show();
    QApplication::processEvents();
    editor.Memory[0x40] = 0xC3;
    editor.SetSize(4096);
    QAbstractItemModel* model = editor.HexGrid->model();
    EXPECT_EQ(model->rowCount(), 512);
    EXPECT_EQ(model->headerData(8, Qt::Vertical, Qt::DisplayRole).toString(), QStringLiteral("$0040"));
    EXPECT_EQ(model->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("+3"));
    EXPECT_EQ(model->data(model->index(8, 0), Qt::DisplayRole).toString(), QStringLiteral("C3"));
    editor.TopAddress = 0x40;
    editor.FillGrid();
    QApplication::processEvents();
    EXPECT_EQ(editor.TopVisibleAddress(), 0x40);

    editor.SetMode(THexEditor::Binary);
    QApplication::processEvents();
    EXPECT_EQ(editor.TopVisibleAddress(), 0x40);
    EXPECT_EQ(model->rowCount(), 4096);
    EXPECT_EQ(model->headerData(0x40, Qt::Vertical, Qt::DisplayRole).toString(), QStringLiteral("$0040"));
    EXPECT_EQ(model->headerData(7, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("bit 7"));
    EXPECT_FALSE(editor.L_Bin->isHidden());

    editor.SetMode(THexEditor::Decimal);
    QApplication::processEvents();
    EXPECT_EQ(editor.TopVisibleAddress(), 0x40);
    EXPECT_EQ(model->headerData(8, Qt::Vertical, Qt::DisplayRole).toString(), QStringLiteral("64"));
    EXPECT_EQ(model->data(model->index(8, 0), Qt::DisplayRole).toString(), QStringLiteral("195"));
    EXPECT_TRUE(editor.L_Bin->isHidden());

    editor.cb_Groesse->setCurrentIndex(0);
    EXPECT_EQ(editor.Size, 256);
    EXPECT_EQ(model->rowCount(), 32);

    // Fill asks first; only OK fills, and only the bytes in use.
    TScopedMessageResponder messages;
    editor.SE_Fill->setValue(0xAB);
    messages.Answer(mrCancel);
    editor.FillClick();
    EXPECT_EQ(editor.Memory[0], 0);
    messages.Answer(mrOk);
    editor.FillClick();
    EXPECT_EQ(editor.Memory[0], 0xAB);
    EXPECT_EQ(editor.Memory[255], 0xAB);
    EXPECT_EQ(editor.Memory[256], 0);
    EXPECT_EQ(messages.Requests()[0].caption, QStringLiteral("Füllen"));
}

// Load and save through the editor's file dialogs; a file that cannot be written is reported
// and the old file stays.
TEST_F(MemoryTest, EditorFileRoundTripAndUnwritableFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("ram.hex"));
    THexEditor editor;
    editor.SetSize(256);
    for (int i = 0; i < 256; ++i)
        editor.Memory[size_t(i)] = uint8_t(255 - i);
    TScopedDialogResponder dialogs;
    TScopedMessageResponder messages;
    auto choose = [](const QString& name, QFileDialog::AcceptMode mode) {
        return [name, mode](QDialog& d) {
            auto* fd = qobject_cast<QFileDialog*>(&d);
            EXPECT_TRUE(fd);
            if (!fd)
                return int(mrCancel);
            EXPECT_EQ(fd->acceptMode(), mode);
            fd->selectFile(name);
            return int(mrOk);
        };
    };
    dialogs.Answer(choose(file, QFileDialog::AcceptSave));
    editor.SaveClick();
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray text = saved.readAll();
    saved.close();
    EXPECT_EQ(text.size(), 256 * 4);
    EXPECT_TRUE(text.startsWith("FF\r\nFE\r\n"));

    THexEditor other;
    other.SetSize(512);
    other.Memory.assign(65536, 0x11);
    dialogs.Answer(choose(file, QFileDialog::AcceptOpen));
    other.LoadClick();
    EXPECT_EQ(Bytes(other.Memory, 256), Bytes(editor.Memory, 256));
    EXPECT_EQ(other.Memory[256], 0);  // the file has 256 values
    EXPECT_EQ(other.Memory[512], 0x11);
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_EQ(messages.Requests()[0].text, QStringLiteral("Es wurden 256 Bytes eingelesen."));

    // A file in a folder that does not exist cannot be written: reported, nothing changes.
    messages.Clear();
    EXPECT_FALSE(editor.SaveFile(dir.filePath(QStringLiteral("fehlt/ram.hex"))));
    EXPECT_EQ(messages.Requests().size(), 1u);
    // A damaged (unreadable) file: a directory in place of the file.
    messages.Clear();
    other.Memory[0] = 0x99;
    EXPECT_EQ(other.LoadFile(dir.path()), -1);
    EXPECT_EQ(messages.Requests().size(), 1u);
    EXPECT_EQ(other.Memory[0], 0x99);
}

// The component gives the editor its size, options and contents and takes them back on OK only.
TEST_F(MemoryTest, EditorRoundTripThroughTheComponent)
{
    for (int answer : {mrCancel, mrOk}) {
        SCOPED_TRACE(answer);
        auto c = Create<TBTRAM>();
        c->SetLabel(QStringLiteral("Puffer"));
        c->Memory[3] = 0x33;
        c->DisplayMode = THexEditor::Decimal;
        TScopedDialogResponder dialogs;
        dialogs.Answer([&](QDialog& d) {
            auto& e = static_cast<THexEditor&>(d);
            EXPECT_EQ(e.Size, 256);
            EXPECT_EQ(e.cb_Groesse->currentIndex(), 0);
            EXPECT_EQ(e.Mode, THexEditor::Decimal);
            EXPECT_TRUE(e.RB_Dez->isChecked());
            EXPECT_EQ(e.HelpContext, 18385);
            EXPECT_EQ(e.Memory[3], 0x33);
            EXPECT_FALSE(e.cb_RuntimeEdit->isHidden());
            e.cb_Groesse->setCurrentIndex(2);  // 1k
            e.Memory[1000] = 0x5A;
            EXPECT_TRUE(e.StoreCell(4, 0, QStringLiteral("200")));
            e.CB_AutoLoad->setChecked(true);
            e.E_Datei->SetFilename(QStringLiteral("x.hex"));
            e.cb_RuntimeEdit->setChecked(true);
            e.SetMode(THexEditor::Hex);
            return answer;
        });
        EXPECT_EQ(c->EditProperties(), answer);
        EXPECT_EQ(dialogs.Titles().value(0), QStringLiteral("Puffer"));
        const bool ok = answer == mrOk;
        EXPECT_EQ(c->InputCount, ok ? 19 : 17);
        EXPECT_EQ(c->Size(), ok ? 1024 : 256);
        EXPECT_EQ(c->Memory[1000], ok ? 0x5A : 0);
        EXPECT_EQ(c->Memory[4], ok ? 200 : 0);
        EXPECT_EQ(c->Memory[3], 0x33);
        EXPECT_EQ(c->AutoLoad, ok);
        EXPECT_EQ(c->FileName, ok ? QStringLiteral("x.hex") : QString());
        EXPECT_EQ(c->RunTimeAdjustable, ok);
        EXPECT_EQ(c->DisplayMode, ok ? THexEditor::Hex : THexEditor::Decimal);
    }

    // During a run the size cannot change and the run-time option is hidden.
    Ctx().SimRunning = true;
    auto rom = Create<TBTROM>();
    TScopedDialogResponder dialogs;
    dialogs.Answer([&](QDialog& d) {
        auto& e = static_cast<THexEditor&>(d);
        EXPECT_FALSE(e.cb_Groesse->isEnabled());
        EXPECT_TRUE(e.cb_RuntimeEdit->isHidden());
        EXPECT_EQ(e.HelpContext, 18390);
        EXPECT_EQ(e.Size, 1024);
        return int(mrOk);
    });
    EXPECT_EQ(rom->EditProperties(), mrOk);
    EXPECT_EQ(rom->InputCount, 10);
}

TEST_F(MemoryTest, EditorCaptionsInThreeLanguages)
{
    const struct {
        int language;
        const char* title;
        const char* load;
        const char* autoLoad;
    } cases[] = {
        {0, "Speicher RAM/ROM", "&Laden...", "Datei bei Si&mulationsbeginn einlesen:"},
        {1, "Memory RAM/ROM", "&Load...", "Load file &on project start"},
        {2, "Mémoire RAM/ROM", "&Charger...", "Charger fichier &au démarrage du projet"},
    };
    for (const auto& k : cases) {
        Ctx().CurrentLanguage = uint8_t(k.language);
        THexEditor editor;
        EXPECT_EQ(editor.windowTitle(), QString::fromUtf8(k.title));
        EXPECT_EQ(editor.Button3->text(), QString::fromUtf8(k.load));
        EXPECT_EQ(editor.CB_AutoLoad->text(), QString::fromUtf8(k.autoLoad));
        EXPECT_EQ(editor.cb_RuntimeEdit->text(),
                  Translate(QStringLiteral("Zur Laufzeit einstellbar")));
    }
}
