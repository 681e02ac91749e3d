#pragma once
// Byte sequences typed as text, as serial and TCP components send and expect them:
//   "HALLO"  quoted text, each character one byte (Windows-1252), no escapes; an unterminated
//            quote runs to the end of the text
//   $0D      hexadecimal byte (the first two hex digits of the token count)
//   127      decimal byte (the digits of the token; above 255 gives 0)
// Tokens are separated by blanks (character 32 only). Every token gives exactly one byte.

#include <QString>

#include <cstdint>
#include <vector>

// The bytes the text stands for. Pure; never fails.
std::vector<uint8_t> ParseByteSequence(const QString& text);

// One byte from the hexadecimal digits of a token (without its "$"): other characters are
// skipped, the first two digits count, no digit gives 0.
uint8_t HexToByte(const QString& token);
// One byte from the decimal digits of a token: other characters are skipped, no digit or a
// value above 255 gives 0.
uint8_t DecToByte(const QString& token);

constexpr uint8_t HighNibble(uint8_t b) { return uint8_t(b >> 4); }
constexpr uint8_t LowNibble(uint8_t b) { return uint8_t(b & 15); }

// The preview text of the byte-sequence dialogs: a blank and two upper-case hex digits per
// byte (" 02 0D").
QString BytesToHexText(const std::vector<uint8_t>& bytes);

// Longest preview line the dialogs show; bytes beyond it are not shown.
constexpr int kMaxPreviewLength = 255;
