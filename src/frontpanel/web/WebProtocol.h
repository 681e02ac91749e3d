#pragma once
// What both ends of the web link share (the front panel and the web-server program): the
// port, the page token and the way lines are cut from the received bytes. Header only, Qt
// Core only, so that the server program includes it without the rest of the program.

#include <QByteArray>

#include <cstdint>

inline constexpr uint16_t kWebLinkPort = 31234;
// The fixed text the server sends after each page.
inline constexpr const char* kWebPageToken = "5d3f07a62";
// Longest line taken from the other end; a longer one is cut there into several.
inline constexpr qsizetype kWebLongestLine = 100000;
// Longest request (the URL-encoded address of a click or a form, in bytes) that is passed on:
// the server answers a longer one with a page that says so, and the front panel takes none.
inline constexpr qsizetype kWebLongestRequest = 4096;

// Takes the next line (without its LF and a CR before it) from the front of the buffer;
// false while no whole line is there.
inline bool TakeWebLine(QByteArray& buffer, QByteArray& line)
{
    const qsizetype end = buffer.indexOf('\n');
    if (end >= 0 && end <= kWebLongestLine) {
        line = buffer.left(end);
        buffer.remove(0, end + 1);
    } else if (buffer.size() >= kWebLongestLine) {
        line = buffer.left(kWebLongestLine);
        buffer.remove(0, kWebLongestLine);
    } else {
        return false;
    }
    if (line.endsWith('\r'))
        line.chop(1);
    return true;
}
