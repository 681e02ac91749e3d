#pragma once
// The entry points a user library exports (all optional, looked up by name and then by the
// name with a leading "_"), with C linkage. The plain forms take arrays of 101 long doubles
// (80-bit values), the forms beginning with "C" arrays of 101 doubles; arrays are passed as
// the address of element 0. User[100] holds the component's number. Texts are the 101
// buffers of 1001 bytes (zero-terminated, at most 1000 characters) shared by inputs and
// outputs; a pin name is written into a 256-byte buffer, length-prefixed for InputName and
// OutputName, zero-terminated for GetInputName and GetOutputName.

#include <stdint.h>

#define TAVRINOL_USER_VALUES 101
#define TAVRINOL_TEXT_SIZE 1001
#define TAVRINOL_NAME_SIZE 256

#ifdef __cplusplus
extern "C" {
#endif

typedef uint8_t (*TvCount)(void);                                 // NumInputs, NumOutputs
typedef uint8_t (*TvCountEx)(long double* user);                  // NumInputsEx, NumOutputsEx
typedef uint8_t (*TvCCountEx)(double* user);                      // CNumInputsEx, CNumOutputsEx
typedef void (*TvName)(int32_t channel, char* name);              // (Get)InputName, (Get)OutputName
typedef void (*TvInit)(long double* outputs, long double* user);  // InitValues
typedef void (*TvCInit)(double* outputs, double* user);           // CInitValues
typedef void (*TvConfigure)(long double* user);                   // Configure
typedef void (*TvCConfigure)(double* user);                       // CConfigure
// SimStart, SimStop, Calculate
typedef void (*TvCall)(long double* inputs, long double* outputs, long double* user);
// CSimStart, CSimStop, CCalculate
typedef void (*TvCCall)(double* inputs, double* outputs, double* user);
typedef void (*TvCallEx)(long double* inputs, long double* outputs, long double* user,
                         char** texts);                          // CalculateEx
typedef void (*TvCCallEx)(double* inputs, double* outputs, double* user,
                          char** texts);                         // CCalculateEx

#ifdef __cplusplus
}
#endif
