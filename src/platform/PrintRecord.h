#pragma once
// The print settings record that a board's circuit file and the front panel's window record
// both carry: the same fields in the same order, whatever the owner calls them.

#include "platform/Filer.h"
#include "platform/Types.h"

#include <QPoint>
#include <QString>
#include <QStringList>

#include <cstdint>

// Where an owner's print settings S keep the record's fields. Flag is the board's
// black-and-white and the front panel's hidden flag, Size the position of the size or zoom
// slider; TScale is the owner's type of the scale.
template <class S, class TScale>
struct TPrintRecordLayout {
    QPoint S::*Position;
    QPoint S::*Preview;
    int32_t S::*Size;
    TScale S::*Scale;
    QString S::*Headline;
    bool S::*Flag;
    bool S::*Centered;
    bool S::*Background;
    int32_t S::*PrinterIndex;
    int32_t S::*Orientation;
    QStringList S::*Comments;
};

// The whole record, the comment lines last with their count.
template <class S, class TScale>
void WritePrintRecord(TWriter& writer, const S& s, const TPrintRecordLayout<S, TScale>& at)
{
    writer.WriteInteger((s.*at.Position).x());
    writer.WriteInteger((s.*at.Position).y());
    writer.WriteInteger((s.*at.Preview).x());
    writer.WriteInteger((s.*at.Preview).y());
    writer.WriteInteger(s.*at.Size);
    writer.WriteFloat(s.*at.Scale);
    writer.WriteString(s.*at.Headline);
    writer.WriteBoolean(s.*at.Flag);
    writer.WriteBoolean(s.*at.Centered);
    writer.WriteBoolean(s.*at.Background);
    writer.WriteInteger(s.*at.PrinterIndex);
    writer.WriteInteger(s.*at.Orientation);
    const QStringList& comments = s.*at.Comments;
    writer.WriteInteger(static_cast<int32_t>(comments.size()));
    for (const QString& line : comments)
        writer.WriteString(line);
}

// The record up to the comment lines, each field taken as soon as it is read. The count and
// the lines are the caller's to read, since the owners check the count differently.
template <class S, class TScale>
void ReadPrintRecordHead(TReader& reader, S& s, const TPrintRecordLayout<S, TScale>& at)
{
    const int32_t positionX = reader.ReadInteger();
    const int32_t positionY = reader.ReadInteger();
    s.*at.Position = QPoint(positionX, positionY);
    const int32_t previewX = reader.ReadInteger();
    const int32_t previewY = reader.ReadInteger();
    s.*at.Preview = QPoint(previewX, previewY);
    s.*at.Size = reader.ReadInteger();
    s.*at.Scale = static_cast<TScale>(reader.ReadFloat());
    s.*at.Headline = reader.ReadString();
    s.*at.Flag = reader.ReadBoolean();
    s.*at.Centered = reader.ReadBoolean();
    s.*at.Background = reader.ReadBoolean();
    s.*at.PrinterIndex = reader.ReadInteger();
    s.*at.Orientation = reader.ReadInteger();
}
