#pragma once
// What the device benchmarks share: a fresh program context with the component classes, the
// board hooks and a simulated I/O space, and a free TCP port on 127.0.0.1.

#include "core/model/ClassRegistry.h"
#include "core/model/Translator.h"
#include "platform/Context.h"
#include "platform/PortIo.h"
#include "shell/Composition.h"
#include "shell/mainwindow/RegisterClasses.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

class TDeviceEnvironment {
public:
    TDeviceEnvironment()
    {
        ResetContext();
        BuildTranslationTable();
        RegisterComponentClasses(ClassRegistry());
        InstallHooks();
        SetPortIo(&m_io);
    }
    ~TDeviceEnvironment() { SetPortIo(nullptr); }

private:
    TSimulatedPortIo m_io;
};

// A socket listening on 127.0.0.1 at a port of the system's choice (given in port).
int ListenLoopback(uint16_t& port)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(fd, 4);
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return fd;
}

// A TCP port that nobody listens on at the moment.
uint16_t FreePort()
{
    uint16_t port = 0;
    close(ListenLoopback(port));
    return port;
}

} // namespace
