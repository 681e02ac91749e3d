// The HTML that elements, pages and the front-panel window write for the published pages,
// the elements' pictures, and the way a browser request reaches the elements it names.

#include "frontpanel/Design.h"
#include "frontpanel/FP_Element.h"
#include "frontpanel/FrontPanel.h"
#include "frontpanel/web/WebPublishing.h"
#include "core/model/Iobt.h"
#include "platform/Context.h"
#include "platform/FileIO.h"
#include "platform/Paths.h"
#include "ui/Formats.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <QImage>
#include <QTabBar>

#include <algorithm>
#include <cmath>

namespace {

QString TitleCell(const QString& text)
{
    return QStringLiteral("<th><div align=\"left\"><FONT SIZE=\"2\">") + text +
           QStringLiteral("</div></th>");
}

QString PageTitleCell(const QString& text)
{
    return QStringLiteral("<th><div align=\"left\"><FONT SIZE=\"2\"><FONT COLOR=#FFFFFF>") + text +
           QStringLiteral("</div></th>");
}

}  // namespace

// --- Element base -----------------------------------------------------------------------------

QString TFP_Element::GetRelativeName() const
{
    QString name = QualifiedName;
    const QString root = FPState().RootDesignName + u'.';
    if (root.size() > 1)
        name.remove(root);
    return name;
}

bool TFP_Element::SaveSnapshot()
{
    const QString file = WebPictureFile(GetRelativeName());
    if (file.isEmpty())
        return false;
    QImage picture;
    PaintToBitmap(picture);
    // Whole or not at all: the server never hands a browser half a picture.
    return EnsureFolderFor(file) && WriteImageFile(file, picture, "JPG");
}

QString TFP_Element::WebActionQuery(int32_t action) const
{
    // Joined, not filled in with arg(): the encoded name carries "%" signs.
    return QStringLiteral("ClientNo=") + QString::number(WebState().ClientNumber) +
           QStringLiteral("&FPLNo=") + QString::number(FrontplattenNR) + QStringLiteral("&Control=") +
           QString::fromLatin1(QUrl::toPercentEncoding(GetRelativeName(), ".")) +
           QStringLiteral("&Action=") + QString::number(action);
}

QString TFP_Element::WebActionHref(int32_t action) const
{
    return QStringLiteral("HREF=\"/Details?") + WebActionQuery(action).toHtmlEscaped() + u'"';
}

QString TFP_Element::WriteWebImageLink(const QString& picture, const QString& text,
                                       int32_t action) const
{
    return QStringLiteral("<A ") + WebActionHref(action) +
           QStringLiteral("><IMG BORDER=\"0\" SRC=\"%1\" Alt=\"%2\"></A> ")
               .arg(HtmlText(picture), HtmlText(text));
}

void WriteWebImageMapHead(TFP_Element& element, QStringList& lines)
{
    element.SaveSnapshot();
    const QString name = WebPictureName(element.GetRelativeName());
    lines << QStringLiteral("<img src=\"") + WebPictureUrl(element.GetRelativeName()) +
                 QStringLiteral("\" border=\"0\" alt=\"") + HtmlText(element.Hint) + QStringLiteral("\" usemap=\"#") +
                 HtmlText(name) + QStringLiteral("\">");
    lines << QStringLiteral("<map name=\"") + HtmlText(name) + QStringLiteral("\">");
}

QString TFP_Element::WriteWebAreaRect(int32_t action, const QRect& rect, const QString& text) const
{
    const QString coords = QStringLiteral("%1,%2,%3,%4")
                               .arg(rect.left())
                               .arg(rect.top())
                               .arg(rect.left() + rect.width())
                               .arg(rect.top() + rect.height());
    return QStringLiteral("<area shape=\"rect\" coords=\"") + coords + QStringLiteral("\" ") +
           WebActionHref(action) + QStringLiteral("alt=\"") + HtmlText(text) +
           QStringLiteral("\" title=\"") + HtmlText(text) + QStringLiteral("\">");
}

QString TFP_Element::WriteWebAreaPoly(int32_t action, const QPoint (&points)[3],
                                      const QString& text) const
{
    QStringList coords;
    for (const QPoint& p : points)
        coords << QStringLiteral("%1,%2").arg(p.x()).arg(p.y());
    return QStringLiteral("<area shape=\"poly\" coords=\"") + coords.join(u',') +
           QStringLiteral("\" ") + WebActionHref(action) + QStringLiteral("alt=\"") +
           HtmlText(text) + QStringLiteral("\" title=\"") + HtmlText(text) + QStringLiteral("\">");
}

QRect TFP_Element::ControlRectInElement(const QWidget* control) const
{
    if (!control)
        return QRect();
    const QPoint topLeft = mapFromGlobal(control->mapToGlobal(QPoint(0, 0)));
    return QRect(topLeft, control->size());
}

QString TFP_Element::WebFieldName() const
{
    return QStringLiteral("Client%1.FPL%2.").arg(WebState().ClientNumber).arg(FrontplattenNR) +
           GetRelativeName();
}

void TFP_Element::WriteWebClientSelect(QStringList& lines, const QComboBox* list, QChar prefix) const
{
    if (!list)
        return;
    const int width = static_cast<int>(std::nearbyint(list->width() * 1.5));
    lines << QStringLiteral("<select style=\"width:%1px;\" name=\"").arg(width) +
                 HtmlText(WebFieldName()) + QStringLiteral("\">");
    for (int i = 0; i < list->count(); ++i) {
        const QString value = HtmlText(prefix + QString::number(i));
        if (i == list->currentIndex())
            lines << QStringLiteral("<option VALUE=\"") + value + QStringLiteral("\"selected>") +
                         HtmlText(list->itemText(i));
        else
            lines << QStringLiteral("<option VALUE=\"") + value + QStringLiteral("\">") +
                         HtmlText(list->itemText(i));
    }
    lines << QStringLiteral("</select> ") + HtmlText(list->toolTip()) + QStringLiteral("</BR>");
}

void TFP_Element::WriteWebPage(QStringList& lines)
{
    if (WebShowTitle)
        WriteWebTitle(lines);
    lines << WebHeadLines;
    WriteWebSnapshot(lines);
    lines << WebFootLines;
}

void TFP_Element::WriteWebSnapshot(QStringList& lines)
{
    SaveSnapshot();
    lines << WriteWebImageLink(WebPictureUrl(GetRelativeName()), Hint, kWebActionRefresh);
    WriteWebImageMap(lines);
}

void TFP_Element::WriteWebTitle(QStringList& lines)
{
    lines << QStringLiteral(
        "</BR><table border=\"0\" width=\"100%\" bgcolor=#CCCCCC><colgroup><col width=\"40\">"
        "<col width=\"100\"><col width=\"150\"></colgroup><tr>");
    if (Ctx().SimRunning) {
        lines << TitleCell(QString()) << TitleCell(QString());
    } else {
        lines << TitleCell(HtmlText(ElementName));
        if (Component)
            lines << TitleCell(HtmlText(Component->GetLabel()));
    }
    lines << TitleCell(HtmlText(Hint));
    lines << QStringLiteral("</tr></table></BR>");
}

void TFP_Element::WriteWebElement(QStringList& lines)
{
    WriteWebTitle(lines);
    lines << WebHeadLines;
    lines << QStringLiteral("<meta http-equiv=\"refresh\" content=\"3\"><img src=\"") +
                 HtmlText(WebPictureUrl(GetRelativeName())) + QStringLiteral("\" Alt=\"") +
                 HtmlText(Hint) + QStringLiteral("\"> ");
    WriteWebImageMap(lines);
    lines << WebFootLines;
}

void TFP_Element::WriteWebImageMap(QStringList&) {}

void TFP_Element::WebAction(int32_t action)
{
    if (action == kWebActionRefresh)
        SaveSnapshot();
}

void TFP_Element::WebSubmit(const QString&) {}

// --- Pages ------------------------------------------------------------------------------------

void TDesign::WriteWebTitle(QStringList& lines)
{
    if (WebShowTitle)
        lines << QStringLiteral("</BR></BR>");
    lines << QStringLiteral(
        "<table border=\"0\" width=\"100%\" bgcolor=#666666><colgroup><col width=\"40\">"
        "<col width=\"100\"><col width=\"150\"></colgroup><tr>");
    if (Ctx().SimRunning) {
        lines << PageTitleCell(QString()) << PageTitleCell(QString());
    } else {
        lines << PageTitleCell(QString()) << PageTitleCell(HtmlText(GetRelativeName()));
    }
    lines << PageTitleCell(HtmlText(ElementName));
    lines << QStringLiteral("</tr></table>");
}

void TDesign::WriteWebElement(QStringList& lines)
{
    TFP_Element::WriteWebElement(lines);
    WriteWebElements(-1, QString(), lines);
}

void TDesign::WriteWebElements(int32_t page, const QString& path, QStringList& lines)
{
    std::vector<TFP_Element*> sorted = Elements;
    std::stable_sort(sorted.begin(), sorted.end(), [](const TFP_Element* a, const TFP_Element* b) {
        return a->WebSortOrder < b->WebSortOrder;
    });
    for (TFP_Element* e : sorted) {
        if ((page >= 0 && e->FrontplattenNR != page) || !e->IsPublished())
            continue;
        auto* nested = dynamic_cast<TDesign*>(e);
        if (!path.isEmpty()) {
            if (e->GetRelativeName() == path)
                e->WriteWebElement(lines);
            if (nested)
                nested->WriteWebElements(page, path, lines);
        } else if (nested) {
            if (nested->WebShowTitle)
                nested->WriteWebTitle(lines);
            lines << nested->WebHeadLines;
            nested->WriteWebElements(-1, QString(), lines);
            lines << nested->WebFootLines;
            if (nested->WebShowTitle)
                lines << QStringLiteral("<HR>");
        } else {
            if (e->WebShowTitle)
                lines << QStringLiteral("</BR>");
            e->WriteWebPage(lines);
        }
    }
}

void TDesign::HandleWebRequest(const QString& request, int32_t action)
{
    for (const TWebRequestPair& pair : ParseWebRequest(request))
        DispatchWebRequest(pair.first, pair.second, action);
}

void TDesign::DispatchWebRequest(const QString& name, const QString& value, int32_t action)
{
    // A copy: an action may change the page's list.
    const std::vector<TFP_Element*> elements = Elements;
    for (TFP_Element* e : elements) {
        if (e->GetRelativeName() == name && e->IsPublished()) {
            if (action == kWebActionSubmit)
                e->WebSubmit(value);
            else
                e->WebAction(action);
        }
        if (auto* nested = dynamic_cast<TDesign*>(e))
            nested->DispatchWebRequest(name, value, action);
    }
}

// --- Front-panel window -----------------------------------------------------------------------

void TFrontplatte::WritePageHead(int32_t page, QStringList& lines)
{
    if (PublishMode == 0 || !RootDesign)
        return;
    const QString caption = HtmlText(windowTitle().isEmpty() ? Title : windowTitle());
    const int tabs = TabControl1 ? TabControl1->count() : 1;
    lines << QStringLiteral("<BASEFONT SIZE=\"2\">");
    const int32_t color = RootDesign->BackgroundFromPanel ? FPState().DesignPanelColor
                                                          : RootDesign->HintergrundFarbe;
    lines << QStringLiteral("<BODY BGCOLOR=") + ColorToHtml(color) + u'>';
    QString title = caption;
    if (tabs > 1 && page >= 0 && page < tabs)
        title += QStringLiteral(" - ") + HtmlText(TabControl1->tabText(page));
    lines << QStringLiteral("<TITLE>") + title + QStringLiteral("</TITLE>");
    lines << QStringLiteral("<FONT Size=\"5\">") + caption + QStringLiteral("</FONT></BR></BR>");
    if (tabs > 1) {
        lines << QStringLiteral(" | ");
        for (int i = 0; i < tabs; ++i) {
            lines << (i == page ? QStringLiteral("<span style=\"font-weight:bold\">")
                                : QStringLiteral("<span style=\"font-weight:normal\">"));
            lines << QStringLiteral("<A HREF=\"%1/Front?ClientNo=%2&amp;FPLNo=%3\">%4</A>")
                         .arg(HtmlText(WebState().BaseAddress), QString::number(WebState().ClientNumber),
                              QString::number(i), HtmlText(TabControl1->tabText(i)));
            lines << QStringLiteral("</span> | ");
        }
    }
    if (Options.HelpBtn && !HelpFile.isEmpty()) {
        QString name = HelpFile;
        name.replace(u'\\', u'/');
        lines << QStringLiteral("<a href=\"") +
                     HtmlText(WebTempFileUrl(QFileInfo(name).fileName())) +
                     QStringLiteral("\">Help</a>");
    }
    lines << QStringLiteral("</BR>");
}

void TFrontplatte::BuildWebPage(int32_t page, const QString& path, QStringList& lines)
{
    if (PublishMode == 0 || !RootDesign)
        return;
    FPState().RootDesignName = RootDesign->ElementName;
    RootDesign->MatchQualifiedName(QStringLiteral("MainModul"), QString());
    WritePageHead(page, lines);
    RootDesign->WriteWebElements(page, path, lines);
}
