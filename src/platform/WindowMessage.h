#pragma once
// Messages to another program's window, named by its window class. This system has no such
// windows: a message is one datagram on a local (Unix) socket that the other program binds
// at WindowMessageSocketPath(class): 12 bytes, the message number, the first parameter and the
// second parameter, each 32 bits little-endian (the second one signed). Sending never waits:
// without a listener, or with its queue full, the message goes nowhere.

#include <QByteArray>
#include <QString>

#include <cstdint>

// Where a program of that window class listens: "<runtime folder>/tavrinol-<class>.sock",
// the runtime folder being the user's (XDG_RUNTIME_DIR), else the temporary folder.
QString WindowMessageSocketPath(const QString& windowClass);
// Puts the runtime folder elsewhere (tests); empty restores the default.
void SetWindowMessageFolder(const QString& folder);

class TWindowMessageTarget {
public:
    TWindowMessageTarget();
    ~TWindowMessageTarget();
    TWindowMessageTarget(const TWindowMessageTarget&) = delete;
    TWindowMessageTarget& operator=(const TWindowMessageTarget&) = delete;

    // Aims at the listener of the window class (outside the step: it builds the address).
    void Aim(const QString& windowClass);
    // Sends one message; true when a listener took it. Allocates nothing and never blocks.
    bool Send(uint32_t message, uint32_t wParam, int32_t lParam) const;

private:
    int m_fd = -1;
    QByteArray m_path;  // the socket's file name, zero-terminated
};
