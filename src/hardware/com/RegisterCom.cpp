#include "hardware/com/RegisterCom.h"

#include "hardware/com/ComDevices.h"
#include "hardware/com/ComLines.h"
#include "hardware/framework/RegisterDevice.h"

void RegisterComDevices(TClassRegistry& registry)
{
    RegisterDevice<TComInterface>(registry);
    RegisterDevice<TComByteSenden>(registry);
    RegisterDevice<TComBytefolgeSenden>(registry);
    RegisterDevice<TComZahlSenden>(registry);
    RegisterDevice<TComStringSenden>(registry);
    RegisterDevice<TComByteEmpfangen>(registry);
    RegisterDevice<TComZahlEmpfangen>(registry);
    RegisterDevice<TComStringEmpfangen>(registry);
    RegisterDevice<TComControl>(registry);
    RegisterDevice<TCOM_D>(registry);
}
