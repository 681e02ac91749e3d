#pragma once
// What every fuzz target shares: a headless application made once, boxes and dialogs answered
// without showing anything, and a scratch file that each input is written to, so that the
// readers run from a file as they do in the program.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

class TScopedMessageResponder;

// Makes the application and the answering layers on the first call; returns the message-box
// layer, which the targets clear after each input.
TScopedMessageResponder& FuzzSetUp();
// The input as the contents of a scratch file named "input" + suffix; returns its path.
QString WriteFuzzInput(const uint8_t* data, size_t size, const char* suffix);
