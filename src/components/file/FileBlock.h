#pragma once
// What the file components share: a block whose symbol shows a caption at a given place, and
// the notice that a file could not be written.

#include "core/model/GrundBT.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class TBTFileBlock : public TGrundBT {
public:
    TV_CLASS_NAME(TBTFileBlock)
    void Paint(TCanvas& canvas) override;

    // Index of the k-th output from the top (outputs are drawn in reverse list order).
    int OutputFromTop(int k) const { return OutputCount - 1 - k; }

protected:
    // The caption's top left lies dx left of and dy above the body's centre.
    TBTFileBlock(const TComponentDescription& description, int dx, int dy);
    virtual QString Caption() const { return SymbolCaption(); }

    // The writes of the file components: the whole file replaced, or a whole record appended.
    // A failure keeps what the file held before and is told to the user (ReportWriteFailure).
    bool ReplaceFileChecked(const QString& fileName, const QByteArray& bytes);
    bool AppendChecked(const QString& fileName, const QByteArray& bytes);
    // Tells the user, once per run and file and after the step, that the file could not be
    // written; the run goes on.
    void ReportWriteFailure(const QString& fileName, const QString& reason);
    // At run start: every file is told again.
    void ForgetWriteFailures() { m_failedFiles.clear(); }

private:
    int m_dx;
    int m_dy;
    QStringList m_failedFiles;
};

namespace FileWrites {
// The program's "Data" folder with a trailing '/', created when it is missing.
QString DataFolder();
// The name part of a path (after the last '/' or '\').
QString NamePart(const QString& path);
// A component's hint followed by a line with the name part of its file, when there is one.
QString HintWithFile(const QString& hint, const QString& path);
} // namespace FileWrites
