#pragma once
// The user's locale as the system reads it.

#include <QChar>

// The decimal separator of the user's locale (asked once).
QChar LocaleDecimalSeparator();
// Tests fix a separator; a null QChar returns to the locale's.
void SetDecimalSeparatorForTesting(QChar separator);
