#pragma once
// The 8-bit code page of stored texts: Windows-1252.

#include <QByteArray>
#include <QString>

// Characters that Windows-1252 cannot hold become '?'.
QByteArray ToCp1252(const QString& text);
QString FromCp1252(const QByteArray& bytes);
QString FromCp1252(const char* data, qsizetype size);
// True when every character is below 0x80 (its 8-bit and UTF-8 forms are the same bytes).
bool IsSevenBit(const QString& text);
