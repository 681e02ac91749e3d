#pragma once
// Byte-wide memories of 256 bytes to 64 KB: a static RAM that writes on the falling edge of
// "|R/W" and a ROM. Each carries the full 64 KB array, of which the first 2^k bytes (k address
// inputs) are in use; the contents are stored with the project, edited in the memory editor and
// may be read from a hexadecimal text file at every run start.

#include "core/model/GrundBT.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

// The bytes of a hexadecimal memory file, at most `size` of them: every two adjacent hex digits
// ("0".."9", "A".."F") on a line make one byte; anything else separates. Returns the count.
int ParseMemoryText(const QByteArray& text, int size, uint8_t* out);
// The first `size` bytes as a memory file: two upper-case hex digits per line, CR LF.
QByteArray MemoryText(const uint8_t* bytes, int size);
// Reads a memory file into out (the first `size` bytes; bytes the file does not give become
// 0). Returns the count read, or -1 with *error when the file cannot be read; out then stays.
int LoadMemoryFile(const QString& fileName, int size, uint8_t* out, QString* error);

class TBTMemory : public TGrundBT {
public:
    TV_CLASS_NAME(TBTMemory)

    static constexpr int MemorySize = 65536;
    static constexpr int MinAddressBits = 8;
    static constexpr int MaxAddressBits = 16;

    int32_t LastValue = -1;          // byte last written to the outputs, -1 when none
    std::vector<uint8_t> Memory;     // always MemorySize bytes
    uint8_t DisplayMode = 0;         // the memory editor's view: 0 hex, 1 binary, 2 decimal
    bool AutoLoad = false;           // read FileName at every run start
    QString FileName;

    // The number of address inputs and the highest address in use.
    virtual int AddressBits() const = 0;
    uint16_t LastAddress() const;
    int Size() const { return int(LastAddress()) + 1; }

    // The address on the address inputs; it never reaches past the memory in use.
    int Address() const;
    // Starts writing the outputs anew and reads the auto-load file when that option is set.
    // A file that cannot be read is reported and the memory keeps its contents.
    void SimReset() override;
    void Paint(TCanvas& canvas) override;
    // The memory editor; on OK the size, the file options and the contents are taken over.
    int EditProperties() override;
    QString GetHint() const override;  // adds the size and the auto-load file's name

protected:
    explicit TBTMemory(const TComponentDescription& description);
    // Writes v to the outputs "D7" ... "D0" when it differs from the last value.
    void Show(int32_t v);
    void WriteContents(TWriter& writer);
    void ReadContents(TReader& reader);
    // The input count of a memory of 2^bits bytes.
    virtual int32_t InputsFor(int bits) const = 0;
};

class TBTRAM : public TBTMemory {
public:
    TV_CLASS_NAME(TBTRAM)
    TBTRAM();
    static const TComponentDescription Description;

    bool PrevRW = false;

    int AddressBits() const override { return int(Inputs.size()) - 9; }
    void SimReset() override;
    // Reads while "|R/W" is high; writes "Di0".."Di7" on its falling edge.
    void Calculate() override;
    void NameInputs() override;
    // Auto-load, file name and the bytes in use; files of version 1 and older hold none of it.
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;

protected:
    int32_t InputsFor(int bits) const override { return bits + 9; }
};

class TBTROM : public TBTMemory {
public:
    TV_CLASS_NAME(TBTROM)
    TBTROM();
    static const TComponentDescription Description;

    int AddressBits() const override { return int(Inputs.size()); }
    void Calculate() override;
    void NameInputs() override;
    // The bytes in use, then auto-load and file name (not in files of version 1 and older).
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;

protected:
    int32_t InputsFor(int bits) const override { return bits; }
};
