// The array and console operations of the MEX interface, as the project's own small host provides
// them: gateways compiled against this header run in tests and in the command-line program
// without Octave or MATLAB.
#pragma once

#include <cstddef>

struct mxArray;

using mwSize = std::size_t;
using mwIndex = std::size_t;

enum mxComplexity { mxREAL = 0, mxCOMPLEX = 1 };

double* mxGetPr(const mxArray* array);
double mxGetScalar(const mxArray* array);
std::size_t mxGetM(const mxArray* array);
std::size_t mxGetN(const mxArray* array);
std::size_t mxGetNumberOfElements(const mxArray* array);
bool mxIsDouble(const mxArray* array);
bool mxIsComplex(const mxArray* array);
bool mxIsSparse(const mxArray* array);
bool mxIsChar(const mxArray* array);

// A NUL-terminated copy of a char array, owned by the call (never freed by the caller).
char* mxArrayToString(const mxArray* array);

// New arrays belong to the running call; a structure takes ownership of its fields.
mxArray* mxCreateDoubleMatrix(mwSize rows, mwSize cols, mxComplexity flag);
mxArray* mxCreateDoubleScalar(double value);
mxArray* mxDuplicateArray(const mxArray* array);
mxArray* mxCreateStructMatrix(mwSize rows, mwSize cols, int nFields, const char** names);
void mxSetFieldByNumber(mxArray* structure, mwIndex element, int field, mxArray* value);

// Ends the running call with a host error carrying the text; does not return.
[[noreturn]] void mexErrMsgTxt(const char* message);

// Appends printf-style text to the running call's console.
int mexPrintf(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
