#include "components/system/ProgramStart.h"

#include "components/analog/Integrators.h"
#include "components/file/FileBlock.h"
#include "components/signal/SignalSupport.h"
#include "core/model/Translator.h"
#include "platform/Filer.h"
#include "platform/MessageBox.h"
#include "ui/Formats.h"
#include "ui/PropertySheet.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTimer>

namespace {

constexpr int32_t kHelp = 18555;

// A stored name as found among the data files, or as written when it is no data file there
// (a program on the search path, an address).
QString FoundOrAsWritten(const QString& name)
{
    const QString found = FindDataFile(name);
    return QFileInfo::exists(found) ? found : name;
}

void CarryOut(const TLaunchRequest& request, const QString& caption)
{
    const TLaunchResult result = Launch(request);
    if (result != TLaunchResult::Done)
        MessageBoxText(LaunchFailureText(result, request), caption, mbOK, mtWarning);
}

} // namespace

// --- TBTProgramStart -------------------------------------------------------------------------

TBTProgramStart::TBTProgramStart(const TComponentDescription& description)
{
    Describe(description);
    SignalSupport::MakeBlock(*this, false);
}

void TBTProgramStart::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawMarkText(canvas, CenterX() - 10, CenterY() - 34, 36, QStringLiteral("X"));
}

bool TBTProgramStart::FallingEdge(int trigger)
{
    const bool level = GetInputDigital(trigger);
    const bool falling = m_lastTrigger && !level;
    m_lastTrigger = level;
    return falling;
}

void TBTProgramStart::StartLater(TLaunchRequest request) const
{
    QString caption = GetLabel();
    caption.replace(QLatin1Char('\r'), QLatin1Char(' '));
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        CarryOut(request, caption);
        return;
    }
    // Starting a program or a viewer is no work for the step; it waits for the event loop.
    QTimer::singleShot(0, app, [request = std::move(request), caption = std::move(caption)] {
        CarryOut(request, caption);
    });
}

// --- TBTEXE ----------------------------------------------------------------------------------

const TComponentDescription TBTEXE::Description{
    .Name = "TBTEXE", .Prefix = {"EXE"}, .HelpContext = kHelp,
    .TypeName = {"Programm starten", "Execute", "Exécuter"}, .Inputs = {1},
    .Outputs = {0}, .InputNames = "|E", .Category = TPaletteCategory::AllgemeinPC};

TBTEXE::TBTEXE() : TBTProgramStart(Description)
{
    Editable = true;
    DataVersion = CurrentDataVersion;
}

void TBTEXE::WriteData(TWriter& writer)
{
    DataVersion = CurrentDataVersion;
    TBTProgramStart::WriteData(writer);
    writer.WriteString(File);
    writer.WriteString(Parameters);
    writer.WriteInteger(WindowState);
    writer.WriteString(Action);
}

void TBTEXE::ReadData(TReader& reader, uint8_t version)
{
    TBTProgramStart::ReadData(reader, version);
    QString stored = reader.ReadString();
    if (DataVersion < 5) {
        // Older records keep '"file" parameters' in one string, the window maximised.
        Parameters.clear();
        const qsizetype quote = stored.lastIndexOf(QLatin1Char('"'));
        if (stored.contains(QLatin1Char('"')) && quote > 0) {
            Parameters = stored.mid(quote + 2).left(255);
            stored = stored.mid(1, quote - 1);
        }
        WindowState = 2;
        Action.clear();
    } else {
        Parameters = reader.ReadString();
        WindowState = reader.ReadInteger();
        Action = DataVersion >= 6 ? reader.ReadString() : QString();
    }
    File = FoundOrAsWritten(stored);
    DataVersion = CurrentDataVersion;
}

int TBTEXE::EditProperties()
{
    const QString word = Translate(QStringLiteral("Datei"));
    const QString filter = word + QStringLiteral(" (*.*)|*.*");
    const QStringList windows{Translate(QStringLiteral("Maximiert")),
                              Translate(QStringLiteral("Normal")),
                              Translate(QStringLiteral("Minimiert"))};
    // Row order: maximised, normal, minimised; the stored state: normal, minimised, maximised.
    static constexpr int32_t kRowOfState[3] = {1, 2, 0};
    static constexpr int32_t kStateOfRow[3] = {2, 0, 1};
    int32_t row = kRowOfState[std::clamp(WindowState, 0, 2)];
    const int result = BlockSupport::ShowSettings(*this, [&](TPropScrollbox& sheet) {
        sheet.AddFileProp(word + QStringLiteral(" [*.*]"), File, 0, 300, filter, QString());
        sheet.AddFileProp(Translate(QStringLiteral("Parameter")), Parameters, 0, 300, filter,
                          QString());
        sheet.AddComboProp(Translate(QStringLiteral("Fenster")), row, windows, 80);
        sheet.AddEditComboProp(Translate(QStringLiteral("Aktion")), Action,
                               {QStringLiteral("OPEN"), QStringLiteral("PRINT"),
                                QStringLiteral("EXPLORE")},
                               80);
    });
    WindowState = kStateOfRow[std::clamp(row, 0, 2)];
    return result;
}

QString TBTEXE::GetHint() const
{
    return FileWrites::HintWithFile(TBTProgramStart::GetHint(), File);
}

void TBTEXE::Calculate()
{
    // The window state has no say here: a started program places its own windows.
    if (FallingEdge(0))
        StartLater({Action, File, Parameters, QString()});
}

void TBTEXE::SimReset()
{
    m_lastTrigger = false;
}

// --- TBTEXEPARAM -----------------------------------------------------------------------------

const TComponentDescription TBTEXEPARAM::Description{
    .Name = "TBTEXEPARAM", .Prefix = {"EXEC"}, .HelpContext = kHelp,
    .TypeName = {"ShellExecute"}, .Inputs = {6}, .Outputs = {0},
    .InputNames = "$PRG $PAR $DIR $ACT WS |E", .Category = TPaletteCategory::AllgemeinPC};

TBTEXEPARAM::TBTEXEPARAM() : TBTProgramStart(Description) {}

void TBTEXEPARAM::Calculate()
{
    if (FallingEdge(InTrigger))
        StartLater({GetInputText(InAction), GetInputText(InProgram),
                    GetInputText(InParameters), GetInputText(InFolder)});
}

void TBTEXEPARAM::SimReset()
{
    m_lastTrigger = false;
}
