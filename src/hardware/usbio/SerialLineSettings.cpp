#include "hardware/usbio/SerialLineSettings.h"

void SetSerial8N1(TCate& cate, TBaudRate baud)
{
    try {
        cate.SetBaudRate(baud);
        cate.SetDatabits(TDataBits::_8);
        cate.SetParity(TParity::None);
        cate.SetStopbits(TStopBits::_1);
    } catch (const ECommError&) {
    }
    cate.Multimeter = false;
    cate.BisteGDM = false;
}
