#include "components/file/FileBlock.h"

#include "components/signal/SignalSupport.h"
#include "platform/Canvas.h"
#include "platform/Context.h"
#include "platform/FileIO.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"

#include <QDir>

TBTFileBlock::TBTFileBlock(const TComponentDescription& description, int dx, int dy)
    : m_dx(dx), m_dy(dy)
{
    Describe(description);
    SignalSupport::MakeBlock(*this, true);
}

void TBTFileBlock::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    canvas.Font.setItalic(false);
    canvas.Font.setBold(false);
    DrawMarkText(canvas, CenterX() - m_dx, CenterY() - m_dy, 36, Caption());
    canvas.Brush.Style = Qt::SolidPattern;
}

bool TBTFileBlock::ReplaceFileChecked(const QString& fileName, const QByteArray& bytes)
{
    QString reason;
    if (WriteWholeFile(fileName, bytes, &reason))
        return true;
    ReportWriteFailure(fileName, reason);
    return false;
}

bool TBTFileBlock::AppendChecked(const QString& fileName, const QByteArray& bytes)
{
    QString reason;
    if (AppendToFile(fileName, bytes, &reason))
        return true;
    ReportWriteFailure(fileName, reason);
    return false;
}

void TBTFileBlock::ReportWriteFailure(const QString& fileName, const QString& reason)
{
    if (m_failedFiles.contains(fileName))
        return;
    m_failedFiles << fileName;
    MessageBoxAfterStep(CannotWriteText(fileName, reason) + u'\n' +
                            Lang3Q("Die Simulation läuft weiter; was nicht geschrieben werden "
                                   "kann, geht verloren.",
                                   "The simulation goes on; what cannot be written is lost.",
                                   "La simulation continue ; ce qui ne peut pas être écrit est "
                                   "perdu."),
                        GetLabel(), mtWarning);
}

namespace FileWrites {

QString DataFolder()
{
    const QString folder = ProgramPath(QStringLiteral("Data/"));
    QDir().mkpath(folder);
    return folder;
}

QString NamePart(const QString& path)
{
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(cut + 1);
}

QString HintWithFile(const QString& hint, const QString& path)
{
    const QString name = NamePart(path);
    return name.isEmpty() ? hint : hint + QLatin1Char('\r') + name;
}

} // namespace FileWrites
