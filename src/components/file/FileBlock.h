#pragma once
// What the file components share: a block whose symbol shows a caption at a given place, and
// the file writes that keep what a file held before when a write fails.

#include "core/model/GrundBT.h"

#include <QByteArray>
#include <QString>

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

private:
    int m_dx;
    int m_dy;
};

namespace FileWrites {
// The program's "Data" folder with a trailing '/', created when it is missing.
QString DataFolder();
// Replaces the file with these bytes through a temporary file and a rename, so that the old
// file stays whole when the write fails.
bool ReplaceFile(const QString& path, const QByteArray& bytes);
// Appends the bytes; when the write fails the file is cut back to its former length, so no
// half record is left behind.
bool AppendToFile(const QString& path, const QByteArray& bytes);
// The name part of a path (after the last '/' or '\').
QString NamePart(const QString& path);
// A component's hint followed by a line with the name part of its file, when there is one.
QString HintWithFile(const QString& hint, const QString& path);
} // namespace FileWrites
