#pragma once
// Communication devices stepped directly, against real peers on 127.0.0.1.

#include "hardware/HardwareTestSupport.h"
#include "hardware/framework/IoInterface.h"

#include <QProcess>

#include <arpa/inet.h>
#include <chrono>
#include <functional>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

// A TCP port that nobody listens on at the moment.
inline uint16_t FreePort()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

// Steps the devices until the condition holds; gives up after ten seconds of real time (the
// peers are on this machine, so only a fault takes that long).
inline bool StepUntil(const std::vector<TIOInterface*>& devices, const std::function<bool()>& done)
{
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < limit) {
        for (TIOInterface* device : devices)
            device->MachEsJetzt();
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return false;
}

inline TPin& PortPin(TIOInterface& device, size_t port, size_t pin)
{
    return *device.Ports.at(port)->Pins.at(pin);
}

// A level on a clock pin, then a step: high, step, low, step gives one falling edge.
inline void ClockEdge(TIOInterface& device, TPin& clock)
{
    SetPinValue(clock, 5.0L);
    device.MachEsJetzt();
    SetPinValue(clock, 0.0L);
    device.MachEsJetzt();
}
