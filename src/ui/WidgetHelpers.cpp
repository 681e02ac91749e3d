#include "ui/WidgetHelpers.h"

QSpinBox* SpinEdit(const char* name, int min, int max)
{
    auto* spin = Named(new QSpinBox, name);
    spin->setRange(min, max);
    return spin;
}

QString LastToOne(QString text)
{
    if (!text.isEmpty())
        text[text.size() - 1] = u'1';
    return text;
}
