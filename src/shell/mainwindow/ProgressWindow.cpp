#include "shell/mainwindow/ProgressWindow.h"

#include "ui/WidgetHelpers.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

TProgressWindow::TProgressWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("ProgressWindow"));
    setModal(false);
    Caption = Named(new QLabel(this), "Caption");
    Bar = Named(new QProgressBar(this), "Bar");
    Bar->setRange(0, 100);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Caption);
    layout->addWidget(Bar);
    setMinimumWidth(320);
}

void TProgressWindow::Begin(const QString& caption, bool showWindow)
{
    Bar->setValue(0);
    SetCaption(caption);
    if (showWindow)
        show();
    Refresh();
}

void TProgressWindow::SetCaption(const QString& caption)
{
    Caption->setText(caption);
    setWindowTitle(caption);
    Refresh();
}

void TProgressWindow::SetPosition(int percent)
{
    if (Bar->value() == percent)
        return;
    Bar->setValue(percent);
    Refresh();
}

void TProgressWindow::End()
{
    hide();
}

void TProgressWindow::Refresh()
{
    if (isVisible())
        repaint();
}
