// An example user library for the DLL component: "SUM" gives A + B, "$TXT" tells how many
// steps the component has run and which component it is. Built as a shared library
// (libtavrinol_example.so) beside the program.
#include "components/file/UserLibraryInterface.h"

#include <stdio.h>
#include <string.h>

namespace {

void Put(char* name, const char* text)
{
    strncpy(name, text, TAVRINOL_NAME_SIZE - 1);
}

} // namespace

extern "C" {

uint8_t NumInputs(void)
{
    return 2;
}

uint8_t NumOutputs(void)
{
    return 2;
}

void GetInputName(int32_t channel, char* name)
{
    Put(name, channel == 0 ? "A" : "B");
}

void GetOutputName(int32_t channel, char* name)
{
    Put(name, channel == 0 ? "SUM" : "$TXT");
}

// User[0] counts the steps of a run, User[1] the presses of the settings button.
void InitValues(long double* outputs, long double* user)
{
    outputs[0] = 0.0L;
    user[0] = 0.0L;
}

void SimStart(long double*, long double* outputs, long double* user)
{
    outputs[0] = 0.0L;
    user[0] = 0.0L;
}

void Configure(long double* user)
{
    user[1] += 1.0L;
}

void CCalculateEx(double* inputs, double* outputs, double* user, char** texts)
{
    user[0] += 1.0;
    outputs[0] = inputs[0] + inputs[1];
    outputs[1] = user[0];
    snprintf(texts[1], TAVRINOL_TEXT_SIZE, "step %.0f of DLL%.0f", user[0], user[100]);
}

} // extern "C"
