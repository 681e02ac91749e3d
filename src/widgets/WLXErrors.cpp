#include "widgets/WLXErrors.h"

#include "platform/Context.h"

EOutOfResources::EOutOfResources(const QString& message)
    : std::runtime_error(message.toStdString())
{
}

EInvalidGraphicOperation::EInvalidGraphicOperation(const QString& message)
    : std::runtime_error(message.toStdString())
{
}

EInvalidOperation::EInvalidOperation(const QString& message)
    : std::runtime_error(message.toStdString())
{
}

EWLXError::EWLXError(const QString& message)
    : std::runtime_error(message.toStdString())
{
}

QString NotEnoughTimersText()
{
    return Lang3Q("Nicht genügend Timer verfügbar", "Not enough timers available",
                  "Pas assez de minuteries disponibles");
}

QString InvalidImageSizeText()
{
    return Lang3Q("Ungültige Bildgröße", "Invalid image size", "Taille d'image incorrecte");
}

QString TooManyImagesText()
{
    return Lang3Q("Zu viele Bilder", "Too many images", "Trop d'images");
}

QString InvalidBitmapText()
{
    return Lang3Q("Bitmap ist ungültig", "Bitmap is invalid", "Le bitmap n'est pas valide");
}

QString CannotOpenFileText(const QString& fileName)
{
    return Lang3Q("Datei %1 kann nicht geöffnet werden", "Cannot open file %1",
                  "Impossible d'ouvrir le fichier %1")
        .arg(fileName);
}
