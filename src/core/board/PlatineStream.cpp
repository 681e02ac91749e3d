// The circuit stream of a board: item count, items by class name, the front-panel flag of
// components, macro records with their nested circuits, and the print settings of files.
#include "core/board/Platine.h"

#include "core/board/BoardHooks.h"
#include "core/board/BtPin.h"
#include "core/board/Makro.h"
#include "core/board/Segment.h"
#include "core/board/Textlabel.h"
#include "core/model/ClassRegistry.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/PrintRecord.h"
#include "platform/Progress.h"
#include "platform/Types.h"

#include <QIODevice>

#include <algorithm>

namespace {

// Most items and comment lines a stream may declare (each takes at least two bytes anyway).
constexpr int32_t kMaxStoredItems = 10000000;

// Depth of nested circuit reads in progress (a macro record reads its inner circuit).
int g_readDepth = 0;

class TReadDepth {
public:
    TReadDepth()
    {
        if (g_readDepth > TPlatine::kMaxMacroDepth)
            throw EFilerError(EFilerError::InvalidData,
                              Lang3Q("Makros zu tief verschachtelt (mehr als %1 Ebenen)",
                                     "Macros nested too deeply (more than %1 levels)",
                                     "Macros trop imbriquées (plus de %1 niveaux)")
                                  .arg(TPlatine::kMaxMacroDepth));
        ++g_readDepth;
    }
    ~TReadDepth() { --g_readDepth; }
    TReadDepth(const TReadDepth&) = delete;
    TReadDepth& operator=(const TReadDepth&) = delete;
};

// A count of values that follow, each taking at least two bytes: a count that the rest of the
// stream cannot hold means the stream ends early.
int32_t CheckStoredCount(TReader& reader, int32_t count, const char* what)
{
    TReader::CheckCount(count, 0, kMaxStoredItems, what);
    if (qint64(count) * 2 > reader.BytesLeft())
        throw EFilerError::streamReadError();
    return count;
}

// The print settings in the stream's print record.
constexpr TPrintRecordLayout<TPrintSettings, double> kPrintLayout{
    &TPrintSettings::Offset,     &TPrintSettings::PreviewPosition, &TPrintSettings::Size,
    &TPrintSettings::Scale,      &TPrintSettings::Headline,        &TPrintSettings::BlackWhite,
    &TPrintSettings::Centered,   &TPrintSettings::Background,      &TPrintSettings::PrinterIndex,
    &TPrintSettings::Orientation, &TPrintSettings::Comments};

QString ReadingText()
{
    return Lang3Q("Öffnen... ", "Reading... ", "Lecture... ");
}

// Closes the progress window of a top-board read, also when the read fails.
class TProgressScope {
public:
    explicit TProgressScope(bool active) : m_active(active) {}
    ~TProgressScope()
    {
        if (m_active)
            ProgressEnd();
    }
    TProgressScope(const TProgressScope&) = delete;
    TProgressScope& operator=(const TProgressScope&) = delete;

private:
    bool m_active;
};

} // namespace

std::unique_ptr<TBauteil> TPlatine::CreateStoredItem(const QString& className)
{
    if (THardwareFactory make = HardwareClassByName(className)) {
        if (std::unique_ptr<TBauteil> item = make())
            return item;
    }
    return ClassRegistry().CreateBoardItem(className);
}

QString TPlatine::StoredClassName(const TBauteil& item)
{
    if (IsHardwareComponent(item))
        return QString::fromLatin1(kHardwareClassName);
    return QString::fromLatin1(item.ClassName());
}

// --- Writing ---------------------------------------------------------------------------------

void TPlatine::WriteCircuit(TWriter& writer, bool selectionOnly)
{
    std::vector<TBauteil*> toWrite;
    for (const auto& item : Items) {
        const auto* segment = dynamic_cast<const TSegment*>(item.get());
        if (segment && segment->Owner)
            continue;  // pin segments are rebuilt by the reader
        if (selectionOnly && !item->Selected)
            continue;
        toWrite.push_back(item.get());
    }
    writer.WriteInteger(int32_t(toWrite.size()));
    for (TBauteil* item : toWrite) {
        writer.WriteString(StoredClassName(*item));
        item->WriteData(writer);
        auto* component = dynamic_cast<TIOBauteil*>(item);
        if (!component || LibraryMode)
            continue;
        // Without a handler the element's data could not follow the flag.
        const bool element = component->Link && OnWriteFPDaten;
        writer.WriteBoolean(element);
        if (element)
            OnWriteFPDaten(this, component, writer);
    }
    if (writer.IsFileStream())
        WritePrintSettings(writer);
}

void TPlatine::WriteMacroRecord(TMakro* macro, TWriter& writer)
{
    TFrontPanelHooks& frontPanel = FrontPanelHooks();
    TDesign* group = macro->Design;
    TDesign* holder = macro->ParentDesign;
    const bool hasGroup = group && holder && frontPanel.IndexOfElement(*holder, *group) >= 0;

    // A macro without its group still writes a whole record, so that the stream stays readable.
    int32_t elementIndex = -1;
    bool transparent = false;
    TElementBounds bounds;
    int32_t page = 0;
    if (hasGroup) {
        if (frontPanel.IsSelected(*holder, *group))
            frontPanel.DeselectElement(*holder, *group);
        frontPanel.RenumberElements(*group);
        elementIndex = frontPanel.GetElementIndex(*group);
        transparent = frontPanel.GetTransparent(*group);
        bounds = frontPanel.GetBounds(*group);
        page = frontPanel.GetPage(*group);
    }
    writer.WriteInteger(-2);
    writer.WriteInteger(elementIndex);
    writer.WriteBoolean(transparent);
    writer.WriteInteger(bounds.Left);
    writer.WriteInteger(bounds.Top);
    writer.WriteInteger(bounds.Width);
    writer.WriteInteger(bounds.Height);
    writer.WriteInteger(page);
    if (TPlatine* inner = macro->InnerBoard()) {
        inner->WriteCircuit(writer, false);
    } else {
        TPlatine empty;
        empty.WriteCircuit(writer, false);
    }
    frontPanel.SaveElements(hasGroup ? group : nullptr, writer);
}

void TPlatine::WritePrintSettings(TWriter& writer) const
{
    WritePrintRecord(writer, PrintSettings, kPrintLayout);
}

// --- Reading ---------------------------------------------------------------------------------

void TPlatine::ReadCircuit(TReader& reader, uint8_t version)
{
    TReadDepth depth;
    const bool topBoard = !IsInnerBoard();
    TProgressScope progress(topBoard);
    if (topBoard)
        ProgressBegin(ReadingText(), reader.IsFileStream());
    else
        ProgressSetCaption(ReadingText() + (OwnerMacro ? OwnerMacro->MacroName() : QString()));

    if (reader.Device().size() <= 1)
        return;  // an empty circuit

    const int32_t count = CheckStoredCount(reader, reader.ReadInteger(), "items");
    for (int32_t i = 1; i <= count; ++i) {
        if (topBoard)
            ProgressSetPosition(int(RoundHalfEven(Extended(i) / Extended(count) * 100.0L)));
        std::unique_ptr<TBauteil> created = CreateStoredItem(reader.ReadString());
        created->Board = this;
        if (auto* macro = dynamic_cast<TMakro*>(created.get())) {
            macro->OnReadData = [this](TMakro* m, TReader& r, uint8_t v) {
                ReadMacroGeometry(m, r, v);
            };
            macro->OnWriteData = [this](TMakro* m, TWriter& w) { WriteMacroRecord(m, w); };
        }
        created->ReadData(reader, version);
        TBauteil* item = created.get();
        Items.push_back(std::move(created));

        if (auto* component = dynamic_cast<TIOBauteil*>(item)) {
            AttachPinSegments(component);
            RenumberClass(component->ClassName());
            SetBoardName(BoardName);
            RegisterDdeServers();
            if (OnNeuesBauteil)
                OnNeuesBauteil(this, component, reader, version);
            else
                ReadElementFlag(component, reader, version);
        }
        BindItem(item);
        if (auto* macro = dynamic_cast<TMakro*>(item); macro && macro->Design)
            FrontPanelHooks().SetGroupCaption(*macro->Design, macro->GroupCaption());
        item->SetSelected(true);
    }
    if (version >= 40 && reader.IsFileStream())
        ReadPrintSettings(reader);
}

void TPlatine::ReadElementFlag(TIOBauteil*, TReader& reader, uint8_t)
{
    // Without a front panel there is no element to read the data into.
    if (reader.ReadBoolean())
        throw EFilerError(EFilerError::InvalidData,
                          Lang3Q("Frontplattendaten ohne Frontplatte",
                                 "Front-panel data without a front panel",
                                 "Données de panneau sans panneau de contrôle"));
}

void TPlatine::ReadMacroGeometry(TMakro* macro, TReader& reader, uint8_t version)
{
    int32_t elementIndex = 0;
    bool transparent = false;
    TElementBounds bounds;
    int32_t page = 0;
    const int32_t first = reader.ReadInteger();
    const bool tagged = first == -2 || first == -1;
    if (tagged) {
        elementIndex = reader.ReadInteger();
        transparent = reader.ReadBoolean();
        bounds.Left = reader.ReadInteger();
    } else {
        bounds.Left = first;
    }
    bounds.Top = reader.ReadInteger();
    bounds.Width = reader.ReadInteger();
    bounds.Height = reader.ReadInteger();
    if (first == -2)
        page = reader.ReadInteger();

    if (OnNeuesMakro)
        OnNeuesMakro(macro, reader, this, version);
    else
        LoadMacroContent(macro, reader, version);

    TDesign* group = macro->Design;
    if (!group)
        return;
    TFrontPanelHooks& frontPanel = FrontPanelHooks();
    if (tagged) {
        frontPanel.SetElementIndex(*group, elementIndex);
        if (macro->ParentDesign)
            frontPanel.RestoreZOrder(*macro->ParentDesign);
        frontPanel.SetTransparent(*group, transparent);
        if (reader.IsFileStream())
            frontPanel.SetPage(*group, page);
    }
    frontPanel.SetBounds(*group, bounds);
    frontPanel.RefreshTransparency(*group);
}

void TPlatine::LoadMacroContent(TMakro* macro, TReader& reader, uint8_t version)
{
    TPlatine* inner = CreateInnerBoard(*macro);
    inner->ReadCircuit(reader, version);
    FrontPanelHooks().LoadElements(macro->Design, reader, version);
    macro->TakePinsFromBoard(*inner);
}

void TPlatine::ReadPrintSettings(TReader& reader)
{
    TPrintSettings& p = PrintSettings;
    ReadPrintRecordHead(reader, p, kPrintLayout);
    const int32_t lines = CheckStoredCount(reader, reader.ReadInteger(), "comment lines");
    QStringList comments;
    comments.reserve(lines);
    for (int32_t k = 0; k < lines; ++k)
        comments << reader.ReadString();
    p.Comments = comments;
}
