#include "hardware/midi/MidiAdministrator.h"

#include "core/model/Translator.h"
#include "hardware/midi/MidiInterface.h"
#include "hardware/midi/MidiPort.h"

#include <algorithm>

namespace {

QStringList& OutNames()
{
    static QStringList names;
    return names;
}

QStringList& InNames()
{
    static QStringList names;
    return names;
}

} // namespace

TMidiHandle TMidiAdministrator::Open(std::vector<TClient>& users, TMIDIInterface* interface,
                                     int32_t device, bool input)
{
    std::lock_guard lock(m_lock);
    auto shared = std::find_if(users.begin(), users.end(),
                               [device](const TClient& c) { return c.Device == device; });
    TMidiHandle handle = 0;
    if (shared != users.end())
        handle = shared->Handle;
    else if (input)
        handle = MidiSystem().OpenInput(device, [device](uint32_t message) {
            MidiAdministrator().DispatchIn(device, message);
        });
    else
        handle = MidiSystem().OpenOutput(device);
    users.push_back({interface, device, handle});
    return handle;
}

void TMidiAdministrator::Close(std::vector<TClient>& users, TMIDIInterface* interface,
                               bool input)
{
    std::lock_guard lock(m_lock);
    auto it = std::find_if(users.begin(), users.end(),
                           [interface](const TClient& c) { return c.Interface == interface; });
    if (it == users.end())
        return;
    const TClient client = *it;
    users.erase(it);
    const bool shared = std::any_of(users.begin(), users.end(), [&](const TClient& c) {
        return c.Device == client.Device;
    });
    if (shared || client.Handle == 0)
        return;
    if (input)
        MidiSystem().CloseInput(client.Handle);
    else
        MidiSystem().CloseOutput(client.Handle);
}

TMidiHandle TMidiAdministrator::OpenIn(TMIDIInterface* interface, int32_t device)
{
    return Open(m_inputs, interface, device, true);
}

void TMidiAdministrator::CloseIn(TMIDIInterface* interface)
{
    Close(m_inputs, interface, true);
}

TMidiHandle TMidiAdministrator::OpenOut(TMIDIInterface* interface, int32_t device)
{
    if (device < 0)
        return 0;
    return Open(m_outputs, interface, device, false);
}

void TMidiAdministrator::CloseOut(TMIDIInterface* interface)
{
    Close(m_outputs, interface, false);
}

void TMidiAdministrator::DispatchIn(int32_t device, uint32_t message)
{
    std::lock_guard lock(m_lock);
    for (const TClient& client : m_inputs)
        if (client.Device == device && client.Interface->Port)
            client.Interface->Port->OfferMessage(message);
}

TMidiAdministrator& MidiAdministrator()
{
    static TMidiAdministrator administrator;
    return administrator;
}

void ListMidiDevices()
{
    const QString none = Translate(QStringLiteral("Kein"));
    OutNames() = QStringList{none} + MidiSystem().OutputNames();
    InNames() = QStringList{none} + MidiSystem().InputNames();
}

const QStringList& MidiOutDeviceNames()
{
    return OutNames();
}

const QStringList& MidiInDeviceNames()
{
    return InNames();
}
