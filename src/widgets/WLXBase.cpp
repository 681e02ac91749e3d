#include "widgets/WLXBase.h"

#include "platform/Context.h"
#include "platform/SystemFolders.h"

#include <QWidget>
#include <QWindow>
#include <algorithm>

bool IsBlank(const QString& s)
{
    for (QChar c : s)
        if (c != QLatin1Char(' '))
            return false;
    return true;
}

QString FillString(int count, QChar ch)
{
    return count > 0 ? QString(count, ch) : QString();
}

QString TrimText(const QString& s)
{
    int a = 0;
    int b = int(s.size());
    while (a < b && s.at(a).unicode() <= 32)
        ++a;
    while (b > a && s.at(b - 1).unicode() <= 32)
        --b;
    return s.mid(a, b - a);
}

QString TextBefore(const QString& s, QChar ch)
{
    const qsizetype i = s.indexOf(ch);
    return i < 0 ? s : s.left(i);
}

QString TextAfter(const QString& s, QChar ch)
{
    const qsizetype i = s.indexOf(ch);
    return i < 0 ? s : s.mid(i + 1, 255);
}

QString AddBackslash(const QString& s)
{
    if (s.endsWith(QLatin1Char('\\')) && !IsBlank(s))
        return s;
    return s + QLatin1Char('\\');
}

QString RemoveBackslash(const QString& s)
{
    if (IsBlank(s) || !s.endsWith(QLatin1Char('\\')))
        return s;
    return s.left(s.size() - 1);
}

void SplitText(const QString& s, QChar delimiter, QStringList* list)
{
    if (!list)
        return;
    list->clear();
    if (s.isEmpty())
        return;
    QStringList parts = s.split(delimiter);
    if (s.endsWith(delimiter))
        parts.removeLast();
    *list = parts;
}

QString CompactPath(const QString& fileName, int maxLength)
{
    // Windows paths by backslash, the system's own by slash.
    const QChar separator = !fileName.contains(u'\\') && fileName.contains(u'/') ? u'/' : u'\\';
    const QString bs(separator);
    const QString ellipsis = QStringLiteral("...") + bs;
    QString drive;
    QString folder;
    QString name = fileName;
    const qsizetype slash = fileName.lastIndexOf(separator);
    if (slash >= 0) {
        folder = fileName.left(slash + 1);
        name = fileName.mid(slash + 1);
    }
    if (folder.size() >= 2 && folder.at(1) == QLatin1Char(':')) {
        drive = folder.left(2);
        folder = folder.mid(2);
    }
    auto result = [&] { return drive + folder + name; };
    while (result().size() > maxLength && (!folder.isEmpty() || !drive.isEmpty())) {
        if (folder.isEmpty()) {
            drive.clear();
        } else if (folder == bs + ellipsis) {
            drive.clear();
            folder = ellipsis;
        } else {
            QString kept;
            if (folder.startsWith(bs)) {
                kept = bs;
                folder = folder.mid(1);
            }
            if (folder.startsWith(ellipsis))
                folder = folder.mid(4);
            const qsizetype i = folder.indexOf(bs);
            folder = i < 0 ? QString() : ellipsis + folder.mid(i + 1);
            folder = kept + folder;
        }
    }
    return result();
}

bool RectInside(const QRect& a, const QRect& b)
{
    auto in = [&](int x, int y) {
        return x >= b.left() && x < b.left() + b.width() && y >= b.top() && y < b.top() + b.height();
    };
    return in(a.left(), a.top()) && in(a.left() + a.width(), a.top() + a.height());
}

QString ProgramFolder()
{
    QString folder = Ctx().ProgramFolder;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QString PrefixFolder(TWLXPathPrefix prefix, bool withSeparator)
{
    QString folder;
    switch (prefix) {
    case TWLXPathPrefix::ppWindows: folder = WindowsFolder(); break;
    case TWLXPathPrefix::ppSystem: folder = SystemFolder(); break;
    case TWLXPathPrefix::ppProgram: folder = ProgramFolder(); break;
    case TWLXPathPrefix::ppFixed: return QString();
    }
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    if (withSeparator && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

void OffsetPoints(QPoint* points, int highIndex, int dx, int dy)
{
    for (int i = 0; points && i <= highIndex; ++i)
        points[i] += QPoint(dx, dy);
}

int MaxOf(const int* values, int highIndex)
{
    return *std::max_element(values, values + highIndex + 1);
}

int MinOf(const int* values, int highIndex)
{
    return *std::min_element(values, values + highIndex + 1);
}

double MinOf(const double* values, int highIndex)
{
    return *std::min_element(values, values + highIndex + 1);
}

void FreeChildWindow(QWidget* control)
{
    if (!control || control->isWindow())
        return;
    if (QWindow* window = control->windowHandle())
        window->destroy();
}
