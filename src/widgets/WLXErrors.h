#pragma once
// The errors the widget library raises, by the class library's kinds. Each carries its text in
// the current language.

#include <QString>
#include <stdexcept>

// No timer or other system resource left ("Nicht genügend Timer verfügbar").
class EOutOfResources : public std::runtime_error {
public:
    explicit EOutOfResources(const QString& message);
};

// A picture operation that cannot be done ("Ungültige Bildgröße", "Zu viele Bilder").
class EInvalidGraphicOperation : public std::runtime_error {
public:
    explicit EInvalidGraphicOperation(const QString& message);
};

// An object used against its rules (an item without its list).
class EInvalidOperation : public std::runtime_error {
public:
    explicit EInvalidOperation(const QString& message);
};

// Any other refusal of the library ("Bitmap ist ungültig", a wrong container file).
class EWLXError : public std::runtime_error {
public:
    explicit EWLXError(const QString& message);
};

// The texts of these errors.
QString NotEnoughTimersText();   // "Nicht genügend Timer verfügbar"
QString InvalidImageSizeText();  // "Ungültige Bildgröße"
QString TooManyImagesText();     // "Zu viele Bilder"
QString InvalidBitmapText();     // "Bitmap ist ungültig"
// "Datei %s kann nicht geöffnet werden" with the file name.
QString CannotOpenFileText(const QString& fileName);
