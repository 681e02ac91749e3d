#pragma once
// Small text and rectangle helpers of the widget library.

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include "widgets/WLXTypes.h"

class QWidget;

bool IsBlank(const QString& s);                       // empty or blanks only
QString FillString(int count, QChar ch);
QString TrimText(const QString& s);                   // without leading/trailing controls and blanks
QString TextBefore(const QString& s, QChar ch);       // all of s when ch does not occur
QString TextAfter(const QString& s, QChar ch);        // up to 255 characters after the first ch
QString AddBackslash(const QString& s);
QString RemoveBackslash(const QString& s);
// Pieces between delimiters; empty pieces between two delimiters are kept, a trailing
// delimiter adds no empty last piece. Nothing without a list or with an empty text.
void SplitText(const QString& s, QChar delimiter, QStringList* list);
// Shortens the folder part of a path (by backslash, or by slash when it has none), one folder
// per step, until it fits maxLength.
QString CompactPath(const QString& fileName, int maxLength);
// Both the top-left and the bottom-right corner of a (GDI rectangles, right/bottom exclusive)
// lie in b, b's right and bottom edges excluded.
bool RectInside(const QRect& a, const QRect& b);

// The running program's folder, with a trailing separator.
QString ProgramFolder();
// The folder of a path prefix with a trailing separator added (withSeparator) or removed;
// ppFixed gives an empty text.
QString PrefixFolder(TWLXPathPrefix prefix, bool withSeparator);

// Moves the points 0..highIndex by dx, dy.
void OffsetPoints(QPoint* points, int highIndex, int dx, int dy);
// Largest and smallest of the values 0..highIndex.
int MaxOf(const int* values, int highIndex);
int MinOf(const int* values, int highIndex);
double MinOf(const double* values, int highIndex);

// Gives back the native window of a control that has one (children scrolled out of sight
// need none); the control keeps existing and gets a new window when it is shown again.
void FreeChildWindow(QWidget* control);
