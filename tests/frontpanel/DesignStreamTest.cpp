// The page's element list in the project and one element's record.

#include "DesignTestSupport.h"

#include "core/model/ClassRegistry.h"

namespace {

void SetPageAppearance(TDesign& p)
{
    p.BorderWidth = 2;
    p.BevelWidth = 3;
    p.BevelInner = bvLowered;
    p.BevelOuter = bvRaised;
    p.HintergrundFarbe = 0x123456;
    p.Color = 0x654321;
    p.ColorFromPanel = false;
    p.BackgroundFromPanel = false;
    p.WebSortOrder = 7;
    p.WebShowTitle = false;
    p.WebHeadLines = QStringList{QStringLiteral("<b>"), QString::fromUtf8("Kopf ä")};
    p.WebFootLines = QStringList{QStringLiteral("</b>")};
}

// The page part of an element list without elements, in the layout of a version.
QByteArray PagePart(uint8_t version)
{
    return BytesOf([version](TWriter& w) {
        w.WriteInteger(0);
        if (version >= 40) {
            for (int32_t v : {4, 2, 1, 2, 0x0000FF, 0x00FF00})
                w.WriteInteger(v);
            w.WriteBoolean(false);
            w.WriteBoolean(false);
        }
        if (version >= 43) {
            w.WriteInteger(9);
            w.WriteBoolean(true);
            w.WriteBoolean(false);
            w.WriteInteger(1);
            w.WriteString(QStringLiteral("head"));
            w.WriteInteger(0);
        }
    });
}

} // namespace

TEST_F(DesignFixture, ElementListHoldsOnlyDecorElementsAndRoundTrips)
{
    AddLabel(QStringLiteral("Temperatur"), QRect(10, 20, 80, 16));
    for (int i = 0; i < 3; ++i)
        AddSwitch(QStringLiteral("S%1").arg(i + 1), QRect(100 + 50 * i, 20, 40, 20))->WebPublish = false;
    AddLabel(QString::fromUtf8("Drück mich"), QRect(10, 60, 90, 18));
    SetPageAppearance(*page);

    const QByteArray bytes = BytesOf([&](TWriter& w) { page->SaveElements(w); });
    int32_t count = -1;
    ReadBytes(bytes, [&](TReader& r) { count = r.ReadInteger(); });
    EXPECT_EQ(count, 2) << "the switches travel with their components";

    TDesign other(host.get());
    other.setGeometry(0, 0, 600, 400);
    const qint64 left = ReadBytes(bytes, [&](TReader& r) { other.LoadElements(r, 44); });
    EXPECT_EQ(left, 0);
    ASSERT_EQ(other.Elements.size(), 2u);
    EXPECT_EQ(other.Elements[0]->Hint, QStringLiteral("Temperatur"));
    EXPECT_EQ(other.Elements[0]->geometry(), QRect(10, 20, 80, 16));
    EXPECT_EQ(other.Elements[1]->Hint, QString::fromUtf8("Drück mich"));
    EXPECT_EQ(other.Elements[1]->geometry(), QRect(10, 60, 90, 18));
    EXPECT_STREQ(other.Elements[1]->ClassName(), kDecorClass);
    EXPECT_EQ(other.BorderWidth, 2);
    EXPECT_EQ(other.BevelInner, bvLowered);
    EXPECT_EQ(other.BevelOuter, bvRaised);
    EXPECT_EQ(other.HintergrundFarbe, 0x123456);
    EXPECT_EQ(other.Color, 0x654321);
    EXPECT_FALSE(other.BackgroundFromPanel);
    EXPECT_EQ(other.WebSortOrder, 7);
    EXPECT_FALSE(other.WebShowTitle);
    EXPECT_EQ(other.WebHeadLines, page->WebHeadLines);
    EXPECT_EQ(other.WebFootLines, page->WebFootLines);

    EXPECT_EQ(BytesOf([&](TWriter& w) { other.SaveElements(w); }), bytes)
        << "writing what was read gives the same bytes";
}

TEST_F(DesignFixture, OlderElementListsStopAtTheirVersion)
{
    struct Case {
        uint8_t version;
        int32_t border;      // -1: not read
        int32_t sortOrder;
        bool webTitle;
    };
    const Case cases[] = {
        {39, -1, 5, true},   // no frame, sort order := the page's element index
        {42, 4, 5, true},    // frame and colours, still no web fields
        {43, 4, 9, false},   // everything
    };
    for (const Case& c : cases) {
        TDesign p(host.get());
        p.ElementIndex = 5;
        p.BorderWidth = -1;
        const qint64 left = ReadBytes(PagePart(c.version), [&](TReader& r) { p.LoadElements(r, c.version); });
        EXPECT_EQ(left, 0) << int(c.version);
        EXPECT_EQ(p.BorderWidth, c.border) << int(c.version);
        EXPECT_EQ(p.WebSortOrder, c.sortOrder) << int(c.version);
        EXPECT_EQ(p.WebShowTitle, c.webTitle) << int(c.version);
        if (c.version >= 40) {
            EXPECT_EQ(p.HintergrundFarbe, 0x0000FF);
        }
    }
}

TEST_F(DesignFixture, ElementRecordOfAnOldProjectAndOfAPaste)
{
    // Version 39: Left, Top, index, transparency, page with size, hint, run-time flag.
    const auto record = [](bool fileStream) {
        return BytesOf([](TWriter& w) {
            w.WriteInteger(30);
            w.WriteInteger(40);
            w.WriteInteger(2);
            w.WriteBoolean(false);
            w.WriteInteger(2 - 10000);
            w.WriteRawInt16(55);
            w.WriteRawInt16(25);
            w.WriteString(QStringLiteral("Pumpe"));
            w.WriteBoolean(true);
        }, fileStream);
    };
    page->SetFrontplattenNR(1);
    TTestSwitchElement* fromFile = AddSwitch(QStringLiteral("S1"), QRect(0, 0, 10, 10));
    EXPECT_EQ(ReadBytes(record(true), [&](TReader& r) { page->ReadElement(fromFile, r, 39); }, true), 0);
    EXPECT_EQ(fromFile->geometry(), QRect(30, 40, 55, 25));
    EXPECT_EQ(fromFile->Hint, QStringLiteral("Pumpe"));
    EXPECT_TRUE(fromFile->LaufzeitEinstellbar);
    EXPECT_EQ(fromFile->FrontplattenNR, 2) << "a project keeps the stored page";

    TTestSwitchElement* pasted = AddSwitch(QStringLiteral("S2"), QRect(0, 0, 10, 10));
    ReadBytes(record(false), [&](TReader& r) { page->ReadElement(pasted, r, 39); });
    EXPECT_EQ(pasted->FrontplattenNR, 1) << "a paste lands on the page's own page number";

    TTestSwitchElement stranger(nullptr);
    EXPECT_EQ(BytesOf([&](TWriter& w) { EXPECT_EQ(page->WriteElement(&stranger, w), -1); }).size(), 0);
}

TEST_F(DesignFixture, WritingASelectedElementStoresItsPlaceOnThePage)
{
    TTestSwitchElement* e = AddSwitch(QStringLiteral("S1"), QRect(50, 70, 40, 20));
    page->SelectElement(0);
    ASSERT_TRUE(page->IsSelected(e));
    const QSize pageSize = page->size();

    const QByteArray bytes = BytesOf([&](TWriter& w) { EXPECT_EQ(page->WriteElement(e, w), 0); });
    ReadBytes(bytes, [](TReader& r) {
        EXPECT_EQ(r.ReadInteger(), 50);
        EXPECT_EQ(r.ReadInteger(), 70);
    });
    EXPECT_EQ(page->size(), pageSize);
    TSizer* sizer = page->SizerOf(e);
    ASSERT_NE(sizer, nullptr);
    EXPECT_EQ(e->parentWidget(), sizer);
    EXPECT_EQ(e->pos(), QPoint(6, 6));
    EXPECT_EQ(sizer->geometry(), QRect(44, 64, 52, 32));
}

TEST_F(DesignFixture, BadElementListsFailWithoutHalfElements)
{
    // An unknown class after a good record: the good one stays, the read fails.
    TDesign source(host.get());
    TFP_Element* label = source.AddElement(QString::fromLatin1(kDecorClass));
    label->Hint = QStringLiteral("ok");
    QByteArray bytes = BytesOf([&](TWriter& w) {
        w.WriteInteger(2);
        w.WriteString(QString::fromLatin1(kDecorClass));
        source.WriteElement(label, w);
        w.WriteString(QStringLiteral("TGibtEsNicht"));
    });
    EXPECT_THROW(ReadBytes(bytes, [&](TReader& r) { page->LoadElements(r, 44); }), EClassNotFound);
    ASSERT_EQ(page->Elements.size(), 1u);
    EXPECT_EQ(page->Elements[0]->Hint, QStringLiteral("ok"));

    // A count far beyond what the stream can hold.
    const QByteArray huge = BytesOf([](TWriter& w) { w.WriteInteger(1000000); });
    EXPECT_THROW(ReadBytes(huge, [&](TReader& r) { page->LoadElements(r, 44); }), EFilerError);
    EXPECT_EQ(page->Elements.size(), 1u);
}

TEST_F(DesignFixture, CopyElementDataCarriesEveryCommonField)
{
    TTestSwitchElement* a = AddSwitch(QStringLiteral("S1"), QRect(10, 10, 70, 30));
    TTestSwitchElement* b = AddSwitch(QStringLiteral("S2"), QRect(200, 10, 40, 20));
    a->Hint = QStringLiteral("Ventil");
    a->BorderWidth = 3;
    a->HintergrundFarbe = 0xABCDEF;
    a->WebFootLines = QStringList{QStringLiteral("x")};
    TDesign::CopyElementData(*a, *b);
    EXPECT_EQ(b->Hint, QStringLiteral("Ventil"));
    EXPECT_EQ(b->size(), QSize(70, 30));
    EXPECT_EQ(b->BorderWidth, 3);
    EXPECT_EQ(b->HintergrundFarbe, 0xABCDEF);
    EXPECT_EQ(b->WebFootLines, a->WebFootLines);
    EXPECT_EQ(b->pos(), QPoint(200, 10)) << "the place is not part of the element data";
}
