#include "components/signal/Sound.h"

#include "components/analog/Integrators.h"
#include "components/signal/AudioDevices.h"
#include "components/signal/SignalSupport.h"
#include "core/model/Translator.h"
#include "platform/Filer.h"
#include "ui/Formats.h"
#include "ui/PropertySheet.h"

#include <QFileInfo>

const TComponentDescription TBTSound::Description{
    .Name = "TBTSound", .Prefix = {"SND"}, .HelpContext = 18550,
    .TypeName = {"Soundmodul", "Sound module", "Module sonore"}, .Inputs = {1},
    .InputNames = "|E", .Category = TPaletteCategory::AllgemeinPC};

TBTSound::TBTSound()
{
    Describe(Description);
    SignalSupport::MakeBlock(*this, true);
}

TBTSound::~TBTSound() = default;

void TBTSound::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    SignalSupport::PaintSpeaker(*this, canvas);
}

void TBTSound::WriteData(TWriter& writer)
{
    TGrundBT::WriteData(writer);
    writer.WriteRawShortString(FileName, MaxFileName);
}

void TBTSound::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    FileName = FindDataFile(reader.ReadRawShortString(MaxFileName)).left(MaxFileName);
}

int TBTSound::EditProperties()
{
    QString name = FileName;
    const int result = BlockSupport::ShowSettings(*this, [&](TPropScrollbox& sheet) {
        sheet.AddFileProp(Translate(QStringLiteral("Datei")) + QStringLiteral(" [*.wav]"), name,
                          0, 300, QStringLiteral("Wave (*.wav)|*.wav"), QStringLiteral("WAV"));
    });
    FileName = name.left(MaxFileName);
    return result;
}

QString TBTSound::GetHint() const
{
    QString hint = TGrundBT::GetHint();
    if (!FileName.isEmpty())
        hint += QLatin1Char('\r') + QFileInfo(FileName).fileName();
    return hint;
}

void TBTSound::Calculate()
{
    if (InputFell(0, LastLevel)) {
        if (!m_player) {
            if (!AudioSystem().HasOutputDevice()) {
                ReportMissingAudioDevice(TAudioKind::Output);
                return;
            }
            m_player = AudioSystem().CreatePlayer();
        }
        m_player->Play(PlayName);
    }
}

void TBTSound::SimReset()
{
    LastLevel = false;
    PlayName = FileName;
}
