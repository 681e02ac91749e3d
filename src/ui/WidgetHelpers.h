#pragma once
// Small helpers for building dialogs from plain Qt widgets.

#include <QSpinBox>
#include <QString>

// Gives a widget its object name (the control name tests look it up by) and returns it.
template <class T>
T* Named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// An integer spin edit with a name and a range.
QSpinBox* SpinEdit(const char* name, int min, int max);

// The text with its last character replaced by "1" (the number-format examples show the
// smallest step this way).
QString LastToOne(QString text);
