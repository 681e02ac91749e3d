#pragma once
// Program start: on a falling "|E" a program is started, or a document, folder or address
// opened, printed or explored. TBTEXE keeps file, parameters, window state and action in its
// settings; TBTEXEPARAM takes them from its inputs. The start itself runs after the step; a
// file that cannot be started is told to the user once per edge, and the run goes on.

#include "core/model/GrundBT.h"
#include "platform/ShellLaunch.h"

class TBTProgramStart : public TGrundBT {
public:
    TV_CLASS_NAME(TBTProgramStart)
    void Paint(TCanvas& canvas) override;

protected:
    explicit TBTProgramStart(const TComponentDescription& description);
    // True on a falling edge of the trigger input; remembers its level.
    bool FallingEdge(int trigger);
    // Carries the request out once the step is over, and reports a failure.
    void StartLater(TLaunchRequest request) const;

    bool m_lastTrigger = false;
};

class TBTEXE : public TBTProgramStart {
public:
    TV_CLASS_NAME(TBTEXE)
    TBTEXE();
    static const TComponentDescription Description;
    static constexpr int32_t CurrentDataVersion = 6;

    QString File;
    QString Parameters;
    int32_t WindowState = 0;  // 0 normal, 1 minimised, 2 maximised
    QString Action;           // "" lets the file's kind decide; "OPEN", "PRINT", "EXPLORE"

    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    QString GetHint() const override;
    void Calculate() override;
    void SimReset() override;
};

class TBTEXEPARAM : public TBTProgramStart {
public:
    TV_CLASS_NAME(TBTEXEPARAM)
    TBTEXEPARAM();
    static const TComponentDescription Description;
    enum { InProgram, InParameters, InFolder, InAction, InWindowState, InTrigger };

    void Calculate() override;
    void SimReset() override;
};
