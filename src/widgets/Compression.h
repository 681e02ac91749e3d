#pragma once
// The compressor of the library's containers: an LZ coder with a 4096-entry hash of three-byte
// prefixes and 12-bit back references of 3 to 18 bytes, extended by runs of 16 to 4095 equal
// bytes, on blocks of at most kCompressBlockSize bytes. A block stream strings such blocks
// together behind its byte count.
//
// Block: byte 0 is 0x40 (compressed) or 0x80 (stored: the input follows unchanged). The
// compressed body is groups of a 16-bit control word (high byte first, read from its top bit
// down, 1 = copy item) and up to 16 items: a literal byte; a back reference of two bytes
// (offset x 16 + length - 3, high byte first); a run of four bytes (0, run length - 16 high byte
// first, the byte).
//
// Block stream: Int32 N (the bytes that follow), then blocks until N bytes are consumed, each as
// Int32 compressed length L (its low 16 bits count) and L bytes. Every block but the last holds
// kCompressBlockSize bytes of the source.
//
// Decoding never trusts the data: an item that reaches before the start of the output, past
// the end of its block or past the room a block may fill refuses the whole block with
// EDamagedData, the error of every damaged container or item.

#include "platform/Filer.h"

#include <QByteArray>
#include <cstdint>

class TReader;
class TWriter;

constexpr int kCompressBlockSize = 32781;
// Room beyond the input size that a block may take before the coder falls back to storing it:
// one control word and one run item.
constexpr int kCompressOverrun = 8;

// Stored data that cannot be decoded: a damaged block, count, offset or size.
class EDamagedData : public EFilerError {
public:
    EDamagedData();
};

// Compresses size (0 .. kCompressBlockSize) bytes into dest, which must hold
// size + kCompressOverrun bytes; returns the block's length (size + 1 when stored).
int CompressBlock(const uint8_t* source, int size, uint8_t* dest);
// Decodes a block of size bytes into dest (room for capacity bytes); returns the bytes written.
int DecompressBlock(const uint8_t* source, int size, uint8_t* dest, int capacity);

// Appends the block stream of source to writer.
void WriteCompressed(TWriter& writer, const QByteArray& source);
// Reads one block stream; refuses one that decodes to more than maxBytes.
QByteArray ReadCompressed(TReader& reader, qint64 maxBytes);

// Data of a container item: a block stream when compressed, else Int32 length and the bytes.
void WriteItemData(TWriter& writer, const QByteArray& data, bool compressed);
QByteArray ReadItemData(TReader& reader, bool compressed, qint64 maxBytes);

// The largest decoded item data accepted (a picture strip or a sound).
constexpr qint64 kMaxItemData = 64 * 1024 * 1024;
