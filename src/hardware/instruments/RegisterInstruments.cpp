#include "hardware/instruments/RegisterInstruments.h"

#include "hardware/framework/RegisterDevice.h"
#include "hardware/instruments/DostmannP500.h"
#include "hardware/instruments/MotechLps.h"
#include "hardware/instruments/UserInterface.h"
#include "hardware/instruments/VoltcraftDigi35.h"
#include "hardware/instruments/VoltcraftMxg.h"

void RegisterInstrumentDevices(TClassRegistry& registry)
{
    RegisterDevice<TP500>(registry);
    RegisterDevice<TMotech_LPS305>(registry);
    RegisterDevice<TVoltcraft_MXG9810A>(registry);
    RegisterDevice<TVoltcraft_Digi35CPU>(registry);
    RegisterDevice<TUserInterface>(registry);
}
