// The circuit stream: golden bytes of the board-level layout, round trips, and bad streams.
#include "core/BoardTestSupport.h"
#include "platform/Progress.h"

#include <QStringList>
#include <string>

namespace {

class CircuitStreamTest : public BoardFixture {};

// Print settings of a new board, as every file stream carries them after the items.
QByteArray DefaultPrintSettings()
{
    return B({0x02, 0x00, 0x02, 0x00,                                     // print offset
              0x02, 0x00, 0x02, 0x00,                                     // preview position
              0x02, 0x78,                                                 // size 120
              0x05, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFE, 0x3F,                // scale 0.5
              0x06, 0x00,                                                 // headline
              0x09, 0x09, 0x08,                                           // b/w, centred, background
              0x02, 0xFF, 0x02, 0x00,                                     // printer -1, orientation 0
              0x02, 0x00});                                               // no comment lines
}

// The common component record of a new component at (300, 300) with the given pins and label.
QByteArray ComponentRecord(int inputs, int outputs, const char* label)
{
    QByteArray out = B({0x02, 0x00, 0x03, 0x2C, 0x01, 0x03, 0x2C, 0x01, 0x02, inputs, 0x02,
                        outputs, 0x08});
    for (int k = 0; k < inputs + outputs; ++k)
        out += B({0x08});
    out += B({0x08, 0x06, int(strlen(label))});
    out += QByteArray(label);
    return out;
}

QByteArray ShortString(const char* text)
{
    return B({0x06, int(strlen(text))}) + QByteArray(text);
}

// Element list of an empty page.
QByteArray EmptyElementList()
{
    return B({0x02, 0x00, 0x02, 0x00, 0x02, 0x01, 0x02, 0x00, 0x02, 0x00,
              0x04, 0xEC, 0xE9, 0xD8, 0x00, 0x04, 0xEC, 0xE9, 0xD8, 0x00,
              0x09, 0x09, 0x02, 0x00, 0x08, 0x09, 0x02, 0x00, 0x02, 0x00});
}

// An unnamed macro with one input and one output whose group does not exist.
QByteArray MacroItem(const QByteArray& innerCircuit)
{
    return ShortString("TMakro") + ComponentRecord(1, 1, "Makro") + B({0x06, 0x00}) // name
           + B({0x02, 0xFE, 0x02, 0xFF, 0x08, 0x02, 0x00, 0x02, 0x00, 0x02, 0x00, 0x02, 0x00,
                0x02, 0x00})                                                          // record
           + innerCircuit + EmptyElementList() + B({0x08});                           // no element
}

TEST_F(CircuitStreamTest, GoldenBytesOfBoardLevelCases)
{
    struct Case {
        const char* name;
        std::function<void(TPlatine&)> build;
        bool fileStream;
        bool selectionOnly;
        QByteArray expected;
    };
    const QByteArray led = ShortString("TTestLed") + ComponentRecord(1, 0, "LED");
    const Case cases[] = {
        {"empty board", [](TPlatine&) {}, false, false, B({0x02, 0x00})},
        {"empty board in a file", [](TPlatine&) {}, true, false,
         B({0x02, 0x00}) + DefaultPrintSettings()},
        {"selection only, nothing selected",
         [](TPlatine& b) {
             Add<TTestLed>(b);
             b.AddSegment(QPoint(0, 0), QPoint(100, 0));
             for (auto& item : b.Items)
                 item->SetSelected(false);
         },
         false, true, B({0x02, 0x00})},
        {"component without element", [](TPlatine& b) { Add<TTestLed>(b); }, false, false,
         B({0x02, 0x01}) + led + B({0x08})},
        {"library mode: no element flag",
         [](TPlatine& b) {
             Add<TTestLed>(b);
             b.LibraryMode = true;
         },
         true, false, B({0x02, 0x01}) + led + DefaultPrintSettings()},
        {"wire segment",
         [](TPlatine& b) {
             TSegment* s = b.AddSegment(QPoint(200, 40), QPoint(-20, 40)); // stored normalised
             s->EndDot = true;
         },
         false, false,
         B({0x02, 0x01}) + ShortString("TSegment")
             + B({0x02, 0x00, 0x02, 0xEC, 0x02, 0x28, 0x03, 0xC8, 0x00, 0x02, 0x28, 0x08, 0x09})},
        {"macro inside a macro",
         [](TPlatine& b) {
             TMakro* outer = Add<TMakro>(b);
             TPlatine* inner = b.CreateInnerBoard(*outer);
             TMakro* nested = Add<TMakro>(*inner);
             inner->CreateInnerBoard(*nested);
         },
         false, false,
         B({0x02, 0x01}) + MacroItem(B({0x02, 0x01}) + MacroItem(B({0x02, 0x00})))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TPlatine board;
        c.build(board);
        EXPECT_EQ(WriteBoard(board, c.fileStream, c.selectionOnly).toHex(' '),
                  c.expected.toHex(' '));
    }
}

TEST_F(CircuitStreamTest, PrintSettingsAreReadFromVersion40OnFileStreamsOnly)
{
    TPlatine source;
    source.AddSegment(QPoint(0, 0), QPoint(40, 0));
    source.PrintSettings.Headline = QStringLiteral("Kopf");
    source.PrintSettings.Comments = QStringList{QStringLiteral("eins"), QStringLiteral("zwei")};
    source.PrintSettings.Scale = 0.75;
    source.PrintSettings.Offset = QPoint(-300, 7);
    const QByteArray file = WriteBoard(source, true);
    const qint64 settingsSize = file.size() - WriteBoard(source, false).size();

    struct Case {
        uint8_t version;
        bool fileStream;
        qint64 left;
        QString headline;
    };
    const Case cases[] = {
        {39, true, settingsSize, QString()},
        {40, true, 0, QStringLiteral("Kopf")},
        {44, false, settingsSize, QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "version " << int(c.version) << (c.fileStream ? " file" : ""));
        TPlatine board;
        EXPECT_EQ(ReadBoard(board, file, c.version, c.fileStream), c.left);
        EXPECT_EQ(ItemsOf<TSegment>(board).size(), 1u);
        EXPECT_EQ(board.PrintSettings.Headline, c.headline);
        if (c.left == 0) {
            EXPECT_EQ(board.PrintSettings.Comments, source.PrintSettings.Comments);
            EXPECT_EQ(board.PrintSettings.Scale, 0.75);
            EXPECT_EQ(board.PrintSettings.Offset, QPoint(-300, 7));
        }
    }
}

// Builds a board with wires, a text, components and a macro holding three macro pins, a gate
// and a nested macro.
void BuildRichBoard(TPlatine& board)
{
    TSegment* wire = board.AddSegment(QPoint(0, 0), QPoint(400, 0));
    wire->StartDot = true;
    board.AddSegment(QPoint(400, 0), QPoint(400, 200));
    auto text = NewObject<TText>();
    text->SetCaption(QStringLiteral("Größe °C"));
    text->X = 120;
    text->Y = -40;
    board.AppendItem(std::move(text));
    Add<TTestLed>(board);
    TTestAnd* gate = Add<TTestAnd>(board);
    gate->Inputs[1]->SetInverted(true);
    gate->SetLabel(QStringLiteral("Freigabe"));

    TMakro* macro = Add<TMakro>(board);
    macro->SetMacroName(QStringLiteral("Zähler"));
    TPlatine* inner = board.CreateInnerBoard(*macro);
    const char* names[] = {"EN", "CLK", "Q"};
    for (const char* name : names)
        Add<TBTPin>(*inner)->SetPinName(QString::fromLatin1(name));
    Add<TTestAnd>(*inner);
    inner->AddSegment(QPoint(20, 20), QPoint(20, 300));
    TMakro* nested = Add<TMakro>(*inner);
    nested->SetMacroName(QStringLiteral("Innen"));
    TPlatine* deepest = inner->CreateInnerBoard(*nested);
    Add<TBTPin>(*deepest)->SetPinName(QStringLiteral("X"));
    Add<TTestLed>(*deepest);
    nested->TakePinsFromBoard(*deepest);
    macro->TakePinsFromBoard(*inner);
    board.SetBoardName(QStringLiteral("MAIN"));
}

TEST_F(CircuitStreamTest, RichBoardRoundTripsByteForByte)
{
    for (bool fileStream : {false, true}) {
        SCOPED_TRACE(fileStream ? "file stream" : "memory stream");
        TPlatine source;
        BuildRichBoard(source);
        source.PrintSettings.Headline = QStringLiteral("Überschrift");
        const QByteArray bytes = WriteBoard(source, fileStream);

        TPlatine copy;
        EXPECT_EQ(ReadBoard(copy, bytes, 44, fileStream), 0);
        EXPECT_EQ(WriteBoard(copy, fileStream).toHex(' '), bytes.toHex(' '));

        // Every item read ends selected.
        for (const auto& item : copy.Items)
            EXPECT_TRUE(item->Selected) << item->ClassName();

        const auto macros = ItemsOf<TMakro>(copy);
        ASSERT_EQ(macros.size(), 1u);
        TMakro* macro = macros[0];
        EXPECT_EQ(macro->MacroName(), QStringLiteral("Zähler"));
        ASSERT_NE(macro->InnerBoard(), nullptr);
        EXPECT_EQ(macro->Board, macro->InnerBoard());
        EXPECT_EQ(macro->InnerBoard()->ParentBoard, &copy);
        EXPECT_EQ(macro->InnerBoard()->OwnerMacro, macro);
        EXPECT_EQ(macro->InnerBoard()->BoardName, QStringLiteral("MAIN_MCR1"));
        // Three inner macro pins give four block pins; pin 4 has no inner pin.
        EXPECT_EQ(macro->PinTotal, 4);
        EXPECT_EQ(macro->Inputs[0]->Name(), QStringLiteral("EN"));
        EXPECT_EQ(macro->Inputs[1]->Name(), QStringLiteral("CLK"));
        EXPECT_EQ(macro->Outputs[0]->Name(), QStringLiteral("Q"));
        EXPECT_EQ(macro->Outputs[1]->Name(), QString());

        const auto nested = ItemsOf<TMakro>(*macro->InnerBoard());
        ASSERT_EQ(nested.size(), 1u);
        ASSERT_NE(nested[0]->InnerBoard(), nullptr);
        EXPECT_EQ(nested[0]->InnerBoard()->BoardName, QStringLiteral("MAIN_MCR1_MCR1"));
        EXPECT_EQ(ItemsOf<TTestLed>(*nested[0]->InnerBoard()).size(), 1u);

        const auto texts = ItemsOf<TText>(copy);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0]->Caption(), QStringLiteral("Größe °C"));
        EXPECT_EQ(texts[0]->Board, &copy);
        EXPECT_TRUE(texts[0]->OnNeuZeichnen);
        EXPECT_EQ(texts[0]->Y, -40);
    }
}

TEST_F(CircuitStreamTest, ReadingGivesExactlyOneZeroLengthPinSegmentPerPin)
{
    TPlatine source;
    BuildRichBoard(source);
    const QByteArray bytes = WriteBoard(source);

    TPlatine board;
    ReadBoard(board, bytes);
    for (TPlatine* b : {&board, ItemsOf<TMakro>(board)[0]->InnerBoard()}) {
        size_t pins = 0;
        for (TIOBauteil* component : ItemsOf<TIOBauteil>(*b)) {
            auto check = [&](std::vector<std::unique_ptr<TBauteilPin>>& list, bool input) {
                for (size_t i = 0; i < list.size(); ++i) {
                    auto* segment = dynamic_cast<TSegment*>(list[i]->Segment);
                    ASSERT_NE(segment, nullptr);
                    EXPECT_EQ(segment->Owner, component);
                    EXPECT_EQ(segment->InputSide, input);
                    EXPECT_EQ(segment->PinIndex, int32_t(i));
                    EXPECT_EQ(QPoint(segment->X1, segment->Y1), QPoint(list[i]->X, list[i]->Y));
                    EXPECT_EQ(QPoint(segment->X2, segment->Y2), QPoint(list[i]->X, list[i]->Y));
                }
                pins += list.size();
            };
            check(component->Inputs, true);
            check(component->Outputs, false);
        }
        EXPECT_EQ(PinSegments(*b).size(), pins);
    }
}

TEST_F(CircuitStreamTest, ReadAppendsAndNumbersByClass)
{
    TPlatine source;
    Add<TTestLed>(source);
    Add<TTestLed>(source);
    const QByteArray bytes = WriteBoard(source);

    // Pasting the same stream twice gives new numbers after the existing ones.
    TPlatine board;
    Add<TTestLed>(board)->SetSelected(false);
    ReadBoard(board, bytes);
    ReadBoard(board, bytes);
    std::vector<int32_t> numbers;
    for (TTestLed* led : ItemsOf<TTestLed>(board))
        numbers.push_back(led->Number);
    EXPECT_EQ(numbers, (std::vector<int32_t>{1, 2, 3, 4, 5}));
}

TEST_F(CircuitStreamTest, UnknownClassStopsWithItemsReadSoFar)
{
    const QByteArray led = ShortString("TTestLed") + ComponentRecord(1, 0, "LED") + B({0x08});
    const QByteArray bytes = B({0x02, 0x03}) + led + ShortString("TNichtDa") + led;
    TPlatine board;
    try {
        ReadBoard(board, bytes);
        FAIL() << "no error";
    } catch (const EClassNotFound& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()), QStringLiteral("Klasse TNichtDa nicht gefunden"));
    }
    EXPECT_EQ(ItemsOf<TTestLed>(board).size(), 1u);
    EXPECT_EQ(PinSegments(board).size(), 1u);
}

TEST_F(CircuitStreamTest, EveryTruncationGivesStreamReadError)
{
    TPlatine source;
    BuildRichBoard(source);
    const QByteArray bytes = WriteBoard(source, true);
    for (qsizetype size = 2; size < bytes.size(); ++size) {
        TPlatine board;
        try {
            ReadBoard(board, bytes.left(size), 44, true);
            ADD_FAILURE() << "no error at size " << size;
        } catch (const EFilerError& e) {
            EXPECT_EQ(e.kind(), EFilerError::ReadError) << "size " << size << ": " << e.what();
            EXPECT_EQ(e.message(), QStringLiteral("Stream-Lesefehler"));
        }
    }
}

TEST_F(CircuitStreamTest, StoredCountsAreCheckedBeforeUse)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        bool file;
        EFilerError::Kind kind;
    };
    const QByteArray emptyBoard = B({0x02, 0x00});
    QByteArray manyComments = emptyBoard + DefaultPrintSettings();
    manyComments.chop(2);
    manyComments += B({0x04, 0x00, 0x00, 0x00, 0x10}); // 268 million lines
    const Case cases[] = {
        {"negative item count", B({0x02, 0xFF, 0x06, 0x00}), false, EFilerError::InvalidData},
        {"absurd item count", B({0x04, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0}), false, EFilerError::InvalidData},
        {"more items than bytes", B({0x03, 0xE8, 0x03}) + ShortString("TSegment"), false,
         EFilerError::ReadError},
        {"absurd comment line count", manyComments, true, EFilerError::InvalidData},
        {"more comment lines than bytes", emptyBoard + DefaultPrintSettings().chopped(2) + B({0x03, 0xE8, 0x03}),
         true, EFilerError::ReadError},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TPlatine board;
        try {
            ReadBoard(board, c.bytes, 44, c.file);
            ADD_FAILURE() << "no error";
        } catch (const EFilerError& e) {
            EXPECT_EQ(e.kind(), c.kind) << e.what();
        }
    }
}

TEST_F(CircuitStreamTest, MacroNestingDepthIsLimited)
{
    for (int depth : {TPlatine::kMaxMacroDepth, TPlatine::kMaxMacroDepth + 1}) {
        SCOPED_TRACE(depth);
        TPlatine source;
        TPlatine* board = &source;
        for (int level = 0; level < depth; ++level) {
            TMakro* macro = Add<TMakro>(*board);
            board = board->CreateInnerBoard(*macro);
        }
        Add<TTestLed>(*board);
        const QByteArray bytes = WriteBoard(source);

        TPlatine copy;
        if (depth <= TPlatine::kMaxMacroDepth) {
            EXPECT_EQ(ReadBoard(copy, bytes), 0);
            const TPlatine* deepest = &copy;
            int levels = 0;
            while (!ItemsOf<TMakro>(*deepest).empty()) {
                deepest = ItemsOf<TMakro>(*deepest)[0]->InnerBoard();
                ++levels;
            }
            EXPECT_EQ(levels, depth);
            EXPECT_EQ(ItemsOf<TTestLed>(*deepest).size(), 1u);
        } else {
            try {
                ReadBoard(copy, bytes);
                ADD_FAILURE() << "no error";
            } catch (const EFilerError& e) {
                EXPECT_EQ(e.kind(), EFilerError::InvalidData);
                EXPECT_TRUE(e.message().contains(QStringLiteral("verschachtelt"))) << e.what();
            }
            // The next read starts at depth zero again.
            TPlatine again;
            EXPECT_EQ(ReadBoard(again, B({0x02, 0x00})), 0);
        }
    }
}

// A front panel whose macro groups are fakes with recorded geometry.
class TFakeFrontPanel : public TFrontPanelHooks {
public:
    struct TGroup {
        bool InHolder = true;
        bool Selected = false;
        int32_t ElementIndex = 0;
        bool Transparent = false;
        TElementBounds Bounds;
        int32_t Page = 0;
        QString Caption;
        int Renumbered = 0;
        int Refreshed = 0;
    };
    TGroup groups[4];
    QStringList calls;

    TDesign* Design(int k) { return reinterpret_cast<TDesign*>(&groups[k]); }
    TGroup& G(TDesign& d) { return *reinterpret_cast<TGroup*>(&d); }

    void SetGroupCaption(TDesign& g, const QString& caption) override { G(g).Caption = caption; }
    int32_t IndexOfElement(TDesign&, TDesign& e) override { return G(e).InHolder ? 0 : -1; }
    bool IsSelected(TDesign&, TDesign& e) override { return G(e).Selected; }
    void DeselectElement(TDesign&, TDesign& e) override
    {
        calls << QStringLiteral("deselect");
        G(e).Selected = false;
    }
    void RenumberElements(TDesign& g) override { ++G(g).Renumbered; }
    void RestoreZOrder(TDesign&) override { calls << QStringLiteral("zorder"); }
    int32_t GetElementIndex(TDesign& g) override { return G(g).ElementIndex; }
    void SetElementIndex(TDesign& g, int32_t i) override { G(g).ElementIndex = i; }
    bool GetTransparent(TDesign& g) override { return G(g).Transparent; }
    void SetTransparent(TDesign& g, bool t) override { G(g).Transparent = t; }
    TElementBounds GetBounds(TDesign& g) override { return G(g).Bounds; }
    void SetBounds(TDesign& g, const TElementBounds& b) override { G(g).Bounds = b; }
    int32_t GetPage(TDesign& g) override { return G(g).Page; }
    void SetPage(TDesign& g, int32_t p) override { G(g).Page = p; }
    void RefreshTransparency(TDesign& g) override { ++G(g).Refreshed; }
};

TEST_F(CircuitStreamTest, MacroRecordCarriesTheGroupGeometry)
{
    TFakeFrontPanel panel;
    InstallFrontPanelHooks(&panel);
    auto& g = panel.groups[0];
    g.Selected = true;
    g.ElementIndex = 3;
    g.Transparent = true;
    g.Bounds = TElementBounds{10, 20, 300, 200};
    g.Page = 2;

    TPlatine source;
    TMakro* macro = Add<TMakro>(source);
    source.CreateInnerBoard(*macro);
    macro->Design = panel.Design(0);
    macro->ParentDesign = panel.Design(3);
    QByteArray bytes = WriteBoard(source);
    EXPECT_FALSE(g.Selected);  // deselected before its geometry is taken
    EXPECT_EQ(g.Renumbered, 1);
    const QByteArray record = B({0x02, 0xFE, 0x02, 0x03, 0x09, 0x02, 0x0A, 0x02, 0x14, 0x03, 0x2C,
                                 0x01, 0x03, 0xC8, 0x00, 0x02, 0x02});
    EXPECT_TRUE(bytes.contains(record)) << bytes.toHex(' ').toStdString();

    // A group that is no longer in its design still gives a complete, readable record.
    g.InHolder = false;
    const QByteArray orphan = WriteBoard(source);
    EXPECT_TRUE(orphan.contains(B({0x02, 0xFE, 0x02, 0xFF, 0x08, 0x02, 0x00, 0x02, 0x00, 0x02,
                                   0x00, 0x02, 0x00, 0x02, 0x00, 0x02, 0x00})));
    TPlatine fromOrphan;
    EXPECT_EQ(ReadBoard(fromOrphan, orphan), 0);
    EXPECT_EQ(ItemsOf<TMakro>(fromOrphan).size(), 1u);
    g.InHolder = true;

    // Reading: the handler gives the macro its group; the board applies the geometry.
    struct Case {
        bool file;
        int32_t page;
    };
    for (const Case c : {Case{true, 2}, Case{false, 0}}) {
        SCOPED_TRACE(c.file ? "file" : "clipboard");
        panel.groups[1] = TFakeFrontPanel::TGroup{};
        TPlatine board;
        board.OnNeuesMakro = [&](TMakro* m, TReader& r, TPlatine* holder, uint8_t v) {
            m->Design = panel.Design(1);
            m->ParentDesign = panel.Design(3);
            TPlatine* inner = holder->CreateInnerBoard(*m);
            inner->ReadCircuit(r, v);
            FrontPanelHooks().LoadElements(m->Design, r, v);
        };
        QByteArray data = bytes;
        if (c.file) // a file stream also carries print settings on both boards
            data = WriteBoard(source, true);
        EXPECT_EQ(ReadBoard(board, data, 44, c.file), 0);
        const auto& read = panel.groups[1];
        EXPECT_EQ(read.ElementIndex, 3);
        EXPECT_TRUE(read.Transparent);
        EXPECT_EQ(read.Bounds.Left, 10);
        EXPECT_EQ(read.Bounds.Height, 200);
        EXPECT_EQ(read.Page, c.page);  // a pasted macro keeps the page the paste gave it
        EXPECT_EQ(read.Refreshed, 1);
        EXPECT_EQ(read.Caption, QStringLiteral("Makro 1: "));
    }
}

TEST_F(CircuitStreamTest, OlderMacroRecordsAreAccepted)
{
    TFakeFrontPanel panel;
    InstallFrontPanelHooks(&panel);
    const QByteArray head = ShortString("TMakro") + ComponentRecord(1, 1, "Makro") + ShortString("Alt");
    const QByteArray tail = B({0x02, 0x00}) + EmptyElementList() + B({0x08});
    struct Case {
        const char* name;
        QByteArray record;
        int32_t index;
        bool zorder;
    };
    const Case cases[] = {
        {"tag -1", B({0x02, 0xFF, 0x02, 0x05, 0x08, 0x02, 0x0A, 0x02, 0x14, 0x02, 0x1E, 0x02, 0x28}), 5,
         true},
        {"untagged", B({0x02, 0x0A, 0x02, 0x14, 0x02, 0x1E, 0x02, 0x28}), 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        panel.groups[1] = TFakeFrontPanel::TGroup{};
        panel.calls.clear();
        TPlatine board;
        board.OnNeuesMakro = [&](TMakro* m, TReader& r, TPlatine* holder, uint8_t v) {
            m->Design = panel.Design(1);
            m->ParentDesign = panel.Design(3);
            holder->CreateInnerBoard(*m)->ReadCircuit(r, v);
            FrontPanelHooks().LoadElements(m->Design, r, v);
        };
        EXPECT_EQ(ReadBoard(board, B({0x02, 0x01}) + head + c.record + tail), 0);
        const auto& g = panel.groups[1];
        EXPECT_EQ(g.ElementIndex, c.index);
        EXPECT_EQ(g.Bounds.Left, 10);
        EXPECT_EQ(g.Bounds.Top, 20);
        EXPECT_EQ(g.Bounds.Width, 30);
        EXPECT_EQ(g.Bounds.Height, 40);
        EXPECT_EQ(g.Page, 0);
        EXPECT_EQ(panel.calls.contains(QStringLiteral("zorder")), c.zorder);
        EXPECT_EQ(g.Caption, QStringLiteral("Makro 1: Alt"));
    }
}

TEST_F(CircuitStreamTest, ElementFlagGoesThroughTheBoardEvents)
{
    // Writing: the flag is true only for components with an element, and the handler's data
    // follow at once.
    TPlatine source;
    TTestLed* withElement = Add<TTestLed>(source);
    Add<TTestLed>(source);
    int marker = 0;
    withElement->SetLink(reinterpret_cast<TFP_Element*>(&marker));
    source.OnWriteFPDaten = [](TPlatine*, TIOBauteil*, TWriter& w) { w.WriteInteger(77); };
    const QByteArray bytes = WriteBoard(source);
    const QByteArray led = ShortString("TTestLed") + ComponentRecord(1, 0, "LED");
    EXPECT_EQ(bytes.toHex(' '), (B({0x02, 0x02}) + led + B({0x09, 0x02, 77}) + led + B({0x08})).toHex(' '));

    // Reading: the handler sees each component added, numbered and named, and reads the flag.
    TPlatine board;
    QStringList seen;
    board.OnNeuesBauteil = [&](TPlatine* b, TIOBauteil* c, TReader& r, uint8_t v) {
        EXPECT_EQ(b->IndexOfItem(c) >= 0, true);
        EXPECT_NE(c->Inputs[0]->Segment, nullptr);
        seen << c->Prefix() + QString::number(c->Number) + QLatin1Char('/') + QString::number(v);
        if (r.ReadBoolean()) {
            EXPECT_EQ(r.ReadInteger(), 77);
        }
    };
    EXPECT_EQ(ReadBoard(board, bytes, 43), 0);
    EXPECT_EQ(seen, (QStringList{QStringLiteral("LED1/43"), QStringLiteral("LED2/43")}));

    // Without a front panel, element data cannot be read.
    TPlatine plain;
    try {
        ReadBoard(plain, bytes);
        ADD_FAILURE() << "no error";
    } catch (const EFilerError& e) {
        EXPECT_EQ(e.kind(), EFilerError::InvalidData);
    }
}

class TRecordingProgress : public IProgressSink {
public:
    QStringList log;
    void Begin(const QString& caption, bool show) override
    {
        log << QStringLiteral("begin ") + caption + (show ? QStringLiteral("|shown") : QString());
    }
    void SetCaption(const QString& caption) override { log << QStringLiteral("caption ") + caption; }
    void SetPosition(int percent) override { log << QString::number(percent); }
    void End() override { log << QStringLiteral("end"); }
};

TEST_F(CircuitStreamTest, ReadingShowsProgress)
{
    TPlatine source;
    Add<TTestLed>(source);
    TMakro* macro = Add<TMakro>(source);
    macro->SetMacroName(QStringLiteral("M"));
    source.CreateInnerBoard(*macro);
    Add<TTestLed>(source);
    const QByteArray file = WriteBoard(source, true);
    const QByteArray memory = WriteBoard(source, false);

    TRecordingProgress progress;
    IProgressSink* previous = SetProgressSink(&progress);
    struct Case {
        uint8_t language;
        bool file;
        QStringList expected;
    };
    const Case cases[] = {
        {0, true,
         {QStringLiteral("begin Öffnen... |shown"), QStringLiteral("33"),
          QStringLiteral("67"), QStringLiteral("caption Öffnen... M"), QStringLiteral("100"),
          QStringLiteral("end")}},
        {1, false,
         {QStringLiteral("begin Reading... "), QStringLiteral("33"), QStringLiteral("67"),
          QStringLiteral("caption Reading... M"), QStringLiteral("100"), QStringLiteral("end")}},
        {2, false,
         {QStringLiteral("begin Lecture... "), QStringLiteral("33"), QStringLiteral("67"),
          QStringLiteral("caption Lecture... M"), QStringLiteral("100"), QStringLiteral("end")}},
    };
    for (const Case& c : cases) {
        Ctx().CurrentLanguage = c.language;
        progress.log.clear();
        TPlatine board;
        ReadBoard(board, c.file ? file : memory, 44, c.file);
        EXPECT_EQ(progress.log, c.expected);
    }
    // A failed read closes the window as well.
    progress.log.clear();
    TPlatine board;
    EXPECT_THROW(ReadBoard(board, memory.left(memory.size() - 3)), EFilerError);
    EXPECT_EQ(progress.log.last(), QStringLiteral("end"));
    SetProgressSink(previous);
}

TEST_F(CircuitStreamTest, HardwareNamesAreTriedBeforeTheRegistry)
{
    int created = 0;
    BoardServiceHooks().HardwareClassByName = [&](const QString& name) -> THardwareFactory {
        if (name.compare(QStringLiteral("TOLDCARD"), Qt::CaseInsensitive) != 0)
            return {};
        return [&]() -> std::unique_ptr<TBauteil> {
            ++created;
            return NewObject<TTestLed>();
        };
    };
    BoardServiceHooks().IsHardwareComponent = [](const TBauteil& item) {
        return dynamic_cast<const TTestLed*>(&item) != nullptr;
    };
    const QByteArray record = ComponentRecord(1, 0, "LED") + B({0x08});
    TPlatine board;
    EXPECT_EQ(ReadBoard(board, B({0x02, 0x01}) + ShortString("TOldCard") + record), 0);
    EXPECT_EQ(created, 1);
    ASSERT_EQ(ItemsOf<TTestLed>(board).size(), 1u);
    // Hardware components are written under the common hardware class name.
    EXPECT_EQ(WriteBoard(board), B({0x02, 0x01}) + ShortString("TBTHardware") + record);
}

} // namespace
