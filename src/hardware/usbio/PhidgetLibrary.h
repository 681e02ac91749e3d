#pragma once
// The Phidgets library ("phidget20.dll", C calling convention): devices are opened by kind and
// serial number (-1: any) into a handle; results are error codes, 0 for success.

#include "platform/VendorLibrary.h"

#include <cstdint>

using PhidgetHandle = void*;

class TPhidgetLibrary : public TVendorLibrary {
public:
    TPhidgetLibrary() : TVendorLibrary(QStringLiteral("phidget20.dll")) {}

    using TOpen = int32_t(PhidgetHandle* handle, int32_t remote, int32_t serial);
    using TCall = int32_t(PhidgetHandle);
    using TCount = int32_t(PhidgetHandle, int32_t* count);
    using TGetInt = int32_t(PhidgetHandle, int32_t index, int32_t* value);
    using TSetInt = int32_t(PhidgetHandle, int32_t index, int32_t value);
    using TGetDouble = int32_t(PhidgetHandle, int32_t index, double* value);
    using THandler = int32_t(PhidgetHandle, void* handler, void* context);

    TVendorFunction<int32_t(PhidgetHandle, const char** type)> CPhidget_getDeviceType{
        *this, "CPhidget_getDeviceType"};
    TVendorFunction<TCount> CPhidget_getDeviceVersion{*this, "CPhidget_getDeviceVersion"};
    TVendorFunction<TCount> CPhidget_getSerialNumber{*this, "CPhidget_getSerialNumber"};
    TVendorFunction<TCall> CPhidgetInterfaceKit_read{*this, "CPhidgetInterfaceKit_read"};
    TVendorFunction<TOpen> CPhidgetInterfaceKit_open{*this, "CPhidgetInterfaceKit_open"};
    TVendorFunction<TCall> CPhidgetInterfaceKit_close{*this, "CPhidgetInterfaceKit_close"};
    TVendorFunction<TGetInt> CPhidgetInterfaceKit_getInputState{
        *this, "CPhidgetInterfaceKit_getInputState"};
    TVendorFunction<TGetInt> CPhidgetInterfaceKit_getOutputState{
        *this, "CPhidgetInterfaceKit_getOutputState"};
    TVendorFunction<TSetInt> CPhidgetInterfaceKit_setOutputState{
        *this, "CPhidgetInterfaceKit_setOutputState"};
    TVendorFunction<TCount> CPhidgetInterfaceKit_getNumOutputs{
        *this, "CPhidgetInterfaceKit_getNumOutputs"};
    TVendorFunction<TCount> CPhidgetInterfaceKit_getNumInputs{
        *this, "CPhidgetInterfaceKit_getNumInputs"};
    TVendorFunction<TCount> CPhidgetInterfaceKit_getNumSensors{
        *this, "CPhidgetInterfaceKit_getNumSensors"};
    TVendorFunction<TGetInt> CPhidgetInterfaceKit_getSensorValue{
        *this, "CPhidgetInterfaceKit_getSensorValue"};
    TVendorFunction<TGetInt> CPhidgetInterfaceKit_getSensorRawValue{
        *this, "CPhidgetInterfaceKit_getSensorRawValue"};
    TVendorFunction<TGetInt> CPhidgetInterfaceKit_getSensorNormalizeMinimum{
        *this, "CPhidgetInterfaceKit_getSensorNormalizeMinimum"};
    TVendorFunction<TSetInt> CPhidgetInterfaceKit_setSensorNormalizeMinimum{
        *this, "CPhidgetInterfaceKit_setSensorNormalizeMinimum"};
    TVendorFunction<TGetInt> CPhidgetInterfaceKit_getSensorNormalizeMaximum{
        *this, "CPhidgetInterfaceKit_getSensorNormalizeMaximum"};
    TVendorFunction<TSetInt> CPhidgetInterfaceKit_setSensorNormalizeMaximum{
        *this, "CPhidgetInterfaceKit_setSensorNormalizeMaximum"};
    TVendorFunction<TGetInt> CPhidgetInterfaceKit_getSensorChangeTrigger{
        *this, "CPhidgetInterfaceKit_getSensorChangeTrigger"};
    TVendorFunction<TSetInt> CPhidgetInterfaceKit_setSensorChangeTrigger{
        *this, "CPhidgetInterfaceKit_setSensorChangeTrigger"};
    TVendorFunction<THandler> CPhidgetInterfaceKit_set_OnSensorChange_Handler{
        *this, "CPhidgetInterfaceKit_set_OnSensorChange_Handler"};
    TVendorFunction<THandler> CPhidgetInterfaceKit_set_OnInputChange_Handler{
        *this, "CPhidgetInterfaceKit_set_OnInputChange_Handler"};
    TVendorFunction<TOpen> CPhidgetTemperatureSensor_open{*this,
                                                          "CPhidgetTemperatureSensor_open"};
    TVendorFunction<TCall> CPhidgetTemperatureSensor_read{*this,
                                                          "CPhidgetTemperatureSensor_read"};
    TVendorFunction<TCount> CPhidgetTemperatureSensor_getNumTemperatureInputs{
        *this, "CPhidgetTemperatureSensor_getNumTemperatureInputs"};
    TVendorFunction<TGetDouble> CPhidgetTemperatureSensor_getTemperature{
        *this, "CPhidgetTemperatureSensor_getTemperature"};
    TVendorFunction<TOpen> CPhidgetAccelerometer_open{*this, "CPhidgetAccelerometer_open"};
    TVendorFunction<TCall> CPhidgetAccelerometer_read{*this, "CPhidgetAccelerometer_read"};
    TVendorFunction<TCount> CPhidgetAccelerometer_getNumAxis{*this,
                                                             "CPhidgetAccelerometer_getNumAxis"};
    TVendorFunction<TGetDouble> CPhidgetAccelerometer_getAcceleration{
        *this, "CPhidgetAccelerometer_getAcceleration"};
    TVendorFunction<TOpen> CPhidgetRFID_open{*this, "CPhidgetRFID_open"};
    TVendorFunction<TCall> CPhidgetRFID_read{*this, "CPhidgetRFID_read"};
    TVendorFunction<int32_t(PhidgetHandle, unsigned char* tag)> CPhidgetRFID_getLastTag{
        *this, "CPhidgetRFID_getLastTag"};
    TVendorFunction<TSetInt> CPhidgetRFID_setOutputState{*this, "CPhidgetRFID_setOutputState"};
    TVendorFunction<TOpen> CPhidgetEncoder_open{*this, "CPhidgetEncoder_open"};
    TVendorFunction<TCall> CPhidgetEncoder_read{*this, "CPhidgetEncoder_read"};
    TVendorFunction<TGetInt> CPhidgetEncoder_getEncoderPosition{
        *this, "CPhidgetEncoder_getEncoderPosition"};
    TVendorFunction<TSetInt> CPhidgetEncoder_setEncoderPosition{
        *this, "CPhidgetEncoder_setEncoderPosition"};
    TVendorFunction<TOpen> CPhidgetServo_open{*this, "CPhidgetServo_open"};
    TVendorFunction<TGetDouble> CPhidgetServo_getMotorPosition{*this,
                                                               "CPhidgetServo_getMotorPosition"};
    TVendorFunction<int32_t(PhidgetHandle, int32_t index, double position)>
        CPhidgetServo_setMotorPosition{*this, "CPhidgetServo_setMotorPosition"};
};

// The one binding of the program.
TPhidgetLibrary& PhidgetLib();
