#pragma once
// The two kinds of USB-HID cable that carry a meter's serial bytes, and the frames cut from
// them. Pure byte handling: reports in, frames out.
//
// Status-byte cables send 9-byte reports; byte 1 is 0xF0 for "no data", otherwise its low four
// bits count the serial bytes that follow from byte 2. Count-byte cables send reports in which
// a non-zero byte announces the serial bytes that follow it.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Feature reports that set a cable's line (report ID first).
std::vector<unsigned char> VC9x0CableSetup();                  // 9 bytes
std::vector<unsigned char> UT803CableSetup();                  // 6 bytes, 19200 baud
std::vector<unsigned char> CountCableSetup(unsigned baud, unsigned mode); // 9 bytes

// Status-byte cable: takes whole 9-byte reports out of what was read (keeping a partial one
// for the next read) and hands every serial byte to `Byte`.
class TStatusByteCable {
public:
    std::function<void(unsigned char)> Byte;
    void Feed(std::string_view read);

private:
    std::string m_pending;
};

// The VC 920/940/960 cable: a CR ends a frame; a frame longer than 10 bytes that begins with
// the cable's 0x8A is handed on without that byte. Every CR starts a new frame.
class TVC9x0CableFrames {
public:
    std::function<void(const std::string&)> Frame;
    void Byte(unsigned char byte);

private:
    std::string m_frame;
};

// Count-byte cable: serial bytes gathered across reads and cut at CR LF. `Count` reads the
// number of bytes from the count byte; a line whose length passes `Accept` goes to `Frame`.
class TCountByteCable {
public:
    TCountByteCable(std::function<size_t(unsigned char)> count,
                    std::function<bool(size_t)> accept)
        : m_count(std::move(count)), m_accept(std::move(accept)) {}

    std::function<void(const std::string&)> Frame;
    void Feed(std::string_view read);

    static constexpr size_t MaxPending = 1024; // a cable without line ends drops its oldest bytes

private:
    std::function<size_t(unsigned char)> m_count;
    std::function<bool(size_t)> m_accept;
    std::string m_text;
};
