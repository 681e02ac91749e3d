#pragma once
// An edit shown in an active window beside a line edit that takes the focus away, for tests of
// what an edit does on entering and leaving.

#include <QApplication>
#include <QLineEdit>
#include <QWidget>

template <class Edit>
struct TFocusForm {
    QWidget window;
    Edit* edit;
    QLineEdit* other;
    TFocusForm()
        : edit(new Edit(&window))
        , other(new QLineEdit(&window))
    {
        edit->setGeometry(5, 5, 140, 21);
        other->setGeometry(5, 40, 100, 21);
        window.resize(200, 80);
        window.show();
        QApplication::setActiveWindow(&window);
    }
    void Focus()
    {
        edit->setFocus();
        QApplication::processEvents();
    }
    // Twice: a taken-back focus arrives through the event queue.
    void Leave()
    {
        other->setFocus();
        QApplication::processEvents();
        QApplication::processEvents();
    }
};
