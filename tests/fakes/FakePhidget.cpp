// A stand-in for the Phidgets library: one board of each kind, opened by any serial number
// unless "openFails" is set (then no board is there). Its sizes are "outputs", "inputs",
// "sensors"; its readings "in<i>" (input states), "s<i>" (raw sensor values, encoder
// positions) and "r<i>" (accelerations, temperatures, servo positions, in thousandths). Every
// call is logged; the handle is 0x1000 + kind.

#include "FakeLibrarySupport.h"

namespace {

int32_t Open(const char* name, int kind, void** handle, int32_t remote, int32_t serial)
{
    fake::Log(name, remote, serial);
    if (fake::Setting("openFails")) {
        *handle = nullptr;
        return 13;
    }
    *handle = fake::Handle(kind);
    return 0;
}

int32_t Count(const char* name, void* handle, int32_t* count, const char* key)
{
    fake::Log(name, fake::IndexOf(handle));
    *count = int32_t(fake::Setting(key));
    return 0;
}

int32_t Call(const char* name, void* handle)
{
    fake::Log(name, fake::IndexOf(handle));
    return 0;
}

int32_t GetInt(const char* name, void* handle, int32_t index, int32_t* value, const char* key)
{
    fake::Log(name, fake::IndexOf(handle), index);
    *value = int32_t(fake::Setting(key + std::to_string(index)));
    return 0;
}

int32_t GetReal(const char* name, void* handle, int32_t index, double* value)
{
    fake::Log(name, fake::IndexOf(handle), index);
    *value = double(fake::Setting("r" + std::to_string(index))) / 1000.0;
    return 0;
}

} // namespace

FAKE_LIBRARY_TEST_SIDE

extern "C" {

void FakeLibrary_Reset()
{
    ResetShared();
}

int32_t CPhidgetInterfaceKit_open(void** h, int32_t r, int32_t s) { return Open("CPhidgetInterfaceKit_open", 0, h, r, s); }
int32_t CPhidgetAccelerometer_open(void** h, int32_t r, int32_t s) { return Open("CPhidgetAccelerometer_open", 1, h, r, s); }
int32_t CPhidgetTemperatureSensor_open(void** h, int32_t r, int32_t s) { return Open("CPhidgetTemperatureSensor_open", 2, h, r, s); }
int32_t CPhidgetRFID_open(void** h, int32_t r, int32_t s) { return Open("CPhidgetRFID_open", 3, h, r, s); }
int32_t CPhidgetServo_open(void** h, int32_t r, int32_t s) { return Open("CPhidgetServo_open", 4, h, r, s); }
int32_t CPhidgetEncoder_open(void** h, int32_t r, int32_t s) { return Open("CPhidgetEncoder_open", 5, h, r, s); }
int32_t CPhidgetInterfaceKit_close(void* h) { return Call("CPhidgetInterfaceKit_close", h); }

int32_t CPhidgetInterfaceKit_getNumOutputs(void* h, int32_t* n) { return Count("getNumOutputs", h, n, "outputs"); }
int32_t CPhidgetInterfaceKit_getNumInputs(void* h, int32_t* n) { return Count("getNumInputs", h, n, "inputs"); }
int32_t CPhidgetInterfaceKit_getNumSensors(void* h, int32_t* n) { return Count("getNumSensors", h, n, "sensors"); }

int32_t CPhidgetInterfaceKit_read(void* h) { return Call("CPhidgetInterfaceKit_read", h); }
int32_t CPhidgetAccelerometer_read(void* h) { return Call("CPhidgetAccelerometer_read", h); }
int32_t CPhidgetTemperatureSensor_read(void* h) { return Call("CPhidgetTemperatureSensor_read", h); }
int32_t CPhidgetRFID_read(void* h) { return Call("CPhidgetRFID_read", h); }

int32_t CPhidgetInterfaceKit_getInputState(void* h, int32_t i, int32_t* v) { return GetInt("getInputState", h, i, v, "in"); }
int32_t CPhidgetInterfaceKit_getSensorRawValue(void* h, int32_t i, int32_t* v) { return GetInt("getSensorRawValue", h, i, v, "s"); }
int32_t CPhidgetEncoder_getEncoderPosition(void* h, int32_t i, int32_t* v) { return GetInt("getEncoderPosition", h, i, v, "s"); }
int32_t CPhidgetAccelerometer_getAcceleration(void* h, int32_t i, double* v) { return GetReal("getAcceleration", h, i, v); }
int32_t CPhidgetTemperatureSensor_getTemperature(void* h, int32_t i, double* v) { return GetReal("getTemperature", h, i, v); }
int32_t CPhidgetServo_getMotorPosition(void* h, int32_t i, double* v) { return GetReal("getMotorPosition", h, i, v); }

int32_t CPhidgetInterfaceKit_setOutputState(void* h, int32_t i, int32_t state)
{
    fake::Log("setOutputState", fake::IndexOf(h), i, state);
    return 0;
}

int32_t CPhidgetRFID_setOutputState(void* h, int32_t i, int32_t state)
{
    fake::Log("RFID_setOutputState", fake::IndexOf(h), i, state);
    return 0;
}

int32_t CPhidgetServo_setMotorPosition(void* h, int32_t i, double position)
{
    fake::Log("setMotorPosition", fake::IndexOf(h), i, int64_t(position * 1000));
    return 0;
}

} // extern "C"
