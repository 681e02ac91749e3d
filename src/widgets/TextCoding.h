#pragma once
// The scrambling of stored setting values: a keyed byte scrambler and a 6-bit text encoding
// that makes scrambled bytes printable.
//
// KeyEncode/KeyDecode: a 16-bit state k starts at the key; each byte c becomes c xor (k shr 8);
// then k := (k + e) x 52845 + 22719 (mod 65536), e being the scrambled byte.
// TextEncode: the decimal length of the input, ":" and, per three input bytes (padded with
// blanks), four characters "0" .. "o" of 6 bits each, the highest bits first.

#include <QByteArray>
#include <cstdint>
#include <optional>

QByteArray KeyEncode(const QByteArray& text, uint16_t key);
QByteArray KeyDecode(const QByteArray& text, uint16_t key);
QByteArray TextEncode(const QByteArray& bytes);
// Nothing when the text has no decimal length before ":" or its groups are not four
// characters of "0" .. "o".
std::optional<QByteArray> TextDecode(const QByteArray& text);
