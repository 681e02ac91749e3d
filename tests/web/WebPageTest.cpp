// The published page fragments: the page head, element blocks and titles, nested pages, the
// order and choice of elements, detail pages, pictures, and the dispatch of requests.

#include "WebTestSupport.h"

#include "platform/Context.h"

#include <QFileInfo>
#include <QImage>

namespace {

const QString kTable = QStringLiteral(
    "</BR><table border=\"0\" width=\"100%\" bgcolor=#CCCCCC><colgroup><col width=\"40\">"
    "<col width=\"100\"><col width=\"150\"></colgroup><tr>");
const QString kPageTable = QStringLiteral(
    "<table border=\"0\" width=\"100%\" bgcolor=#666666><colgroup><col width=\"40\">"
    "<col width=\"100\"><col width=\"150\"></colgroup><tr>");

QString Cell(const QString& text)
{
    return QStringLiteral("<th><div align=\"left\"><FONT SIZE=\"2\">") + text + QStringLiteral("</div></th>");
}

QString PageCell(const QString& text)
{
    return QStringLiteral("<th><div align=\"left\"><FONT SIZE=\"2\"><FONT COLOR=#FFFFFF>") + text +
           QStringLiteral("</div></th>");
}

// The lines from the first one that starts with `start`.
QStringList From(const QStringList& lines, const QString& start)
{
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines[i].startsWith(start))
            return lines.mid(i);
    return {};
}

class WebPageTest : public WebFixture {};

}  // namespace

TEST_F(WebPageTest, PageHeadAndPlainElementBlock)
{
    root->BackgroundFromPanel = false;
    root->SetHintergrundFarbe(0x0000FF);
    auto* s1 = static_cast<TTestSwitchElement*>(root->AddElement(QStringLiteral("TTestSwitchElement")));
    s1->ElementName = QStringLiteral("S1");
    s1->Hint = QStringLiteral("Pumpe <an> & \"aus\"");
    s1->WebHeadLines = QStringList{QStringLiteral("<b>head</b>")};
    s1->WebFootLines = QStringList{QStringLiteral("<i>foot</i>")};
    WebState().ClientNumber = 3;

    const QStringList expected{
        QStringLiteral("<BASEFONT SIZE=\"2\">"),
        QStringLiteral("<BODY BGCOLOR=#FF0000>"),
        QStringLiteral("<TITLE>Frontplatte</TITLE>"),
        QStringLiteral("<FONT Size=\"5\">Frontplatte</FONT></BR></BR>"),
        QStringLiteral("</BR>"),
        QStringLiteral("</BR>"),
        kTable,
        Cell(QStringLiteral("S1")),
        Cell(QStringLiteral("Pumpe &lt;an&gt; &amp; &quot;aus&quot;")),
        QStringLiteral("</tr></table></BR>"),
        QStringLiteral("<b>head</b>"),
        QStringLiteral("<A HREF=\"/Details?ClientNo=3&amp;FPLNo=0&amp;Control=MainModul.S1&amp;Action=1\">"
                       "<IMG BORDER=\"0\" SRC=\"/TempFiles/MainModul.S1.jpg\" "
                       "Alt=\"Pumpe &lt;an&gt; &amp; &quot;aus&quot;\"></A> "),
        QStringLiteral("<i>foot</i>"),
    };
    EXPECT_EQ(Page(0), expected);

    // The picture was written beside the page, the element's size.
    const QImage picture(WebState().DataFolder + QStringLiteral("TempFiles/MainModul.S1.jpg"));
    EXPECT_EQ(picture.size(), s1->size());

    // During a run the title shows only the hint; without publishing nothing at all.
    Ctx().SimRunning = true;
    EXPECT_EQ(From(Page(0), kTable).mid(0, 4),
              (QStringList{kTable, Cell(QString()), Cell(QString()),
                           Cell(QStringLiteral("Pumpe &lt;an&gt; &amp; &quot;aus&quot;"))}));
    window->PublishMode = 0;
    EXPECT_TRUE(Page(0).isEmpty());
}

TEST_F(WebPageTest, PageHeadListsTabsAndTheHelpLink)
{
    window->NeueFrontplatte1Click();
    window->NeueFrontplatte1Click();
    ASSERT_EQ(window->TabControl1->count(), 3);
    window->HelpFile = QStringLiteral("C:\\Hilfe\\Anlage <1>.pdf");

    QStringList head = Page(1).mid(2);
    EXPECT_EQ(head.takeFirst(), QStringLiteral("<TITLE>Frontplatte - %1</TITLE>").arg(window->TabControl1->tabText(1)));
    EXPECT_EQ(head.takeFirst(), QStringLiteral("<FONT Size=\"5\">Frontplatte</FONT></BR></BR>"));
    QStringList tabs{QStringLiteral(" | ")};
    for (int i = 0; i < 3; ++i) {
        tabs << (i == 1 ? QStringLiteral("<span style=\"font-weight:bold\">")
                        : QStringLiteral("<span style=\"font-weight:normal\">"))
             << QStringLiteral("<A HREF=\"/Front?ClientNo=0&amp;FPLNo=%1\">%2</A>").arg(i).arg(window->TabControl1->tabText(i))
             << QStringLiteral("</span> | ");
    }
    EXPECT_EQ(head.mid(0, tabs.size()), tabs);
    EXPECT_EQ(head.mid(tabs.size()), QStringList{QStringLiteral("</BR>")}) << "no help link while the option is off";

    window->Options.HelpBtn = true;
    EXPECT_TRUE(Page(1).contains(QStringLiteral("<a href=\"/TempFiles/Anlage%20%3C1%3E.pdf\">Help</a>")));
}

TEST_F(WebPageTest, ElementsInSortOrderOfTheirPageAndNeverDecor)
{
    AddProbe(root, QStringLiteral("S3"), 3);
    AddProbe(root, QStringLiteral("S1"), 1);
    AddProbe(root, QStringLiteral("S2"), 2);
    AddProbe(root, QStringLiteral("S9"), 0, 1);  // on page 1
    AddProbe(root, QStringLiteral("S4"), 4)->WebPublish = false;
    TFP_Element* label = root->AddElement(QString::fromLatin1(kDecorClass));
    label->ElementName = QStringLiteral("L1");
    label->WebPublish = true;

    QStringList names;
    for (const QString& line : Page(0))
        for (const char* name : {"S1", "S2", "S3", "S4", "S9", "L1"})
            if (line == Cell(QString::fromLatin1(name)))
                names << QString::fromLatin1(name);
    EXPECT_EQ(names, (QStringList{QStringLiteral("S1"), QStringLiteral("S2"), QStringLiteral("S3")}));
    EXPECT_FALSE(label->IsPublished());

    // Page 1 holds only its own element.
    EXPECT_TRUE(Page(1).join(u'\n').contains(QStringLiteral("MainModul.S9")));
    EXPECT_FALSE(Page(1).join(u'\n').contains(QStringLiteral("MainModul.S1")));
}

TEST_F(WebPageTest, NestedPagesWithAndWithoutTitle)
{
    TDesign* macro = AddPage(QStringLiteral("Makro: M1"));
    AddProbe(macro, QStringLiteral("S1"));
    AddProbe(macro, QStringLiteral("S2"))->WebShowTitle = false;

    macro->WebShowTitle = false;
    QStringList lines = From(Page(0), QStringLiteral("</BR>")).mid(1);  // after the page head
    EXPECT_FALSE(lines.contains(kPageTable));
    EXPECT_FALSE(lines.contains(QStringLiteral("<HR>")));
    EXPECT_EQ(lines.first(), QStringLiteral("</BR>"));
    EXPECT_EQ(lines.last(), QStringLiteral(
                                "<A HREF=\"/Details?ClientNo=0&amp;FPLNo=0&amp;Control=MainModul.Makro%3A%20M1.S2&amp;Action=2\">"
                                "<IMG BORDER=\"0\" SRC=\"/TempFiles/MainModul.Makro%20%20M1.S2.jpg\" Alt=\"S2 hint\"></A> "));
    EXPECT_TRUE(QFileInfo::exists(WebState().DataFolder + QStringLiteral("TempFiles/MainModul.Makro  M1.S2.jpg")));

    macro->WebShowTitle = true;
    lines = From(Page(0), QStringLiteral("</BR></BR>"));
    ASSERT_GE(lines.size(), 6);
    EXPECT_EQ(lines.mid(1, 5), (QStringList{kPageTable, PageCell(QString()), PageCell(QStringLiteral("MainModul.Makro: M1")),
                                             PageCell(QStringLiteral("Makro: M1")), QStringLiteral("</tr></table>")}));
    EXPECT_EQ(lines.last(), QStringLiteral("<HR>"));
}

TEST_F(WebPageTest, DetailPageOfOneElement)
{
    TDesign* macro = AddPage(QStringLiteral("Makro: M1"));
    TWebProbe* s5 = AddProbe(macro, QStringLiteral("S5"));
    AddProbe(root, QStringLiteral("S1"));
    s5->WebHeadLines = QStringList{QStringLiteral("<p>")};

    const QStringList lines = From(Page(0, QStringLiteral("MainModul.Makro: M1.S5")), kTable);
    EXPECT_EQ(lines, (QStringList{kTable, Cell(QStringLiteral("S5")), Cell(QStringLiteral("S5 hint")),
                                  QStringLiteral("</tr></table></BR>"), QStringLiteral("<p>"),
                                  QStringLiteral("<meta http-equiv=\"refresh\" content=\"3\"><img "
                                                 "src=\"/TempFiles/MainModul.Makro%20%20M1.S5.jpg\" Alt=\"S5 hint\"> ")}));
    // A page's detail page lists its elements.
    EXPECT_TRUE(Page(0, QStringLiteral("MainModul.Makro: M1")).join(u'\n').contains(QStringLiteral("Control=MainModul.Makro%3A%20M1.S5")));
}

TEST_F(WebPageTest, RequestsReachTheNamedPublishedElements)
{
    TWebProbe* s1 = AddProbe(root, QStringLiteral("S1"));
    TWebProbe* n2 = AddProbe(root, QStringLiteral("N2"));
    TWebProbe* hidden = AddProbe(root, QStringLiteral("S3"));
    hidden->WebPublish = false;
    TDesign* macro = AddPage(QStringLiteral("Makro: M1"));
    TWebProbe* inner = AddProbe(macro, QStringLiteral("S1"));
    Page(0);  // names the elements

    struct Case {
        const char* request;
        int action;
        QStringList s1, n2, inner;
    };
    const Case cases[] = {
        {"MainModul.S1=1&MainModul.N2=3.5", 12, {"submit 1"}, {"submit 3.5"}, {}},
        {"MainModul.S1=1&MainModul.N2=3.5", 5, {"action 5"}, {"action 5"}, {}},
        {"ClientNo=1&FPLNo=0&Control=MainModul.S1&Action=2", 2, {"action 2"}, {}, {}},
        {"Client1.FPL0.MainModul.N2=a%26b%3Dc%2Bd+e", 12, {}, {"submit a&b=c+d e"}, {}},
        {"Control=MainModul.Makro%3A+M1.S1&Action=2", 2, {}, {}, {"action 2"}},
        {"MainModul.S3=1&MainModul.S9=2&garbage&&=&%ZZ", 12, {}, {}, {}},
        {"", 12, {}, {}, {}},
    };
    for (const Case& c : cases) {
        s1->Log.clear();
        n2->Log.clear();
        inner->Log.clear();
        hidden->Log.clear();
        root->HandleWebRequest(QString::fromLatin1(c.request), c.action);
        EXPECT_EQ(s1->Log, c.s1) << c.request;
        EXPECT_EQ(n2->Log, c.n2) << c.request;
        EXPECT_EQ(inner->Log, c.inner) << c.request;
        EXPECT_TRUE(hidden->Log.isEmpty()) << c.request;
    }
}

TEST_F(WebPageTest, RequestParserKeepsItsLimits)
{
    const QString longValue(3000, u'x');
    const auto pairs = ParseWebRequest(QStringLiteral("MainModul.N1=") + longValue);
    ASSERT_EQ(pairs.size(), 1u);
    EXPECT_EQ(pairs[0].first.size() + 1 + pairs[0].second.size(), kWebRequestPartLength);

    // A form's fields are all taken, however many, while the request stays within its bytes;
    // a longer request is taken not at all rather than cut.
    QString many;
    for (int i = 0; i < 200; ++i)
        many += QStringLiteral("MainModul.S%1=1&").arg(i);
    ASSERT_LE(many.size(), kWebLongestRequest);
    const auto fields = ParseWebRequest(many);
    ASSERT_EQ(fields.size(), 200u);
    EXPECT_EQ(fields.back().first, QStringLiteral("MainModul.S199"));
    EXPECT_TRUE(ParseWebRequest(many + many).empty());
    // The bound is in bytes: "ü" is encoded as two.
    const QString wide = QStringLiteral("MainModul.T1=") +
                         QString(int(kWebLongestRequest - 13) / 2 + 1, QChar(0xFC));
    EXPECT_TRUE(ParseWebRequest(wide).empty());
    EXPECT_EQ(ParseWebRequest(wide.chopped(1)).size(), 1u);
    EXPECT_EQ(ParseWebRequest(QStringLiteral("x=MainModul.S1=2")),
              (std::vector<TWebRequestPair>{{QStringLiteral("MainModul.S1"), QStringLiteral("2")}}));
}

TEST_F(WebPageTest, RefreshActionRewritesThePicture)
{
    auto* s1 = static_cast<TTestSwitchElement*>(root->AddElement(QStringLiteral("TTestSwitchElement")));
    s1->ElementName = QStringLiteral("S1");
    Page(0);
    const QString file = WebState().DataFolder + QStringLiteral("TempFiles/MainModul.S1.jpg");
    ASSERT_TRUE(QFile::remove(file));
    root->HandleWebRequest(QStringLiteral("Control=MainModul.S1&Action=1"), 1);
    EXPECT_TRUE(QFileInfo::exists(file));
    // Other actions leave a plain element's picture alone.
    ASSERT_TRUE(QFile::remove(file));
    root->HandleWebRequest(QStringLiteral("Control=MainModul.S1&Action=4"), 4);
    EXPECT_FALSE(QFileInfo::exists(file));
}

TEST_F(WebPageTest, PictureNamesStayInsideThePictureFolder)
{
    EXPECT_EQ(WebPictureName(QStringLiteral("MainModul.Makro: M1.S1")), QStringLiteral("MainModul.Makro  M1.S1"));
    EXPECT_EQ(WebPictureName(QStringLiteral("../../etc/x")), QStringLiteral(".. .. etc x"));
    EXPECT_EQ(WebPictureName(QStringLiteral("..")), QStringLiteral("_"));
    EXPECT_EQ(QFileInfo(WebPictureFile(QStringLiteral("a/../../b"))).absolutePath(),
              QFileInfo(WebState().DataFolder + QStringLiteral("TempFiles/x")).absolutePath());
}
