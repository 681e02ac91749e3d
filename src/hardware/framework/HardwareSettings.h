#pragma once
// The hardware settings file: one section per hardware component, named by its board number,
// "." and its designator ("1.HW3"). The top board has number 1; every macro met while walking
// the boards gets the next number before its own board is walked (depth-first in list order).

#include <QString>
#include <cstdint>

class TIniFile;
class TPlatine;

void SaveHardwareSettings(TPlatine& board, TIniFile& ini, int32_t& boardNumber);
void LoadHardwareSettings(TPlatine& board, TIniFile& ini, int32_t& boardNumber);
