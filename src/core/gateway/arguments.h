// Reading and checking gateway inputs, generating period vectors and assembling the output
// structure: the conventions every module's mexFunction shares (see runner.h).
#pragma once

#include <cstdint>

#include "core/gateway/host_api.h"
#include "core/spectra/series.h"

namespace gateway {

// The text of a host error, "<Module>::mexFunction - <what was wrong>\n", kept in a plain buffer
// so that nothing is left to destroy when the host error ends the call.
struct Failure {
  char text[384];
};

void describe(Failure& failure, const char* module, const char* what, const char* name = nullptr);

// Whether an input vector may have no elements at all (a 0 × 0 array).
enum class Empty { Rejected, Allowed };

// A real double vector: its first max(rows, cols) elements in column-major order. Rejects other
// classes, complex and sparse arrays, arrays whose larger dimension exceeds their number of
// elements (a 1 × 0 array has "length" 1 but no element), and empty arrays unless allowed.
bool readVector(const mxArray* input, const char* module, const char* name, Empty empty,
                const double** data, std::int32_t* length, Failure& failure);

// A real double scalar: the first element of a non-empty real double array.
bool readScalar(const mxArray* input, const char* module, const char* name, double* value,
                Failure& failure);

// A real double scalar from 0 to 1, the ends included (NaN is refused).
bool readFraction(const mxArray* input, const char* module, const char* name, double* value,
                  Failure& failure);

// A number of periods: a real double scalar truncated toward zero, at least 1.
bool readCount(const mxArray* input, const char* module, const char* name, std::int32_t* count,
               Failure& failure);

// Text (a char array), as a NUL-terminated copy owned by the host; "" when the text holds a NUL.
bool readText(const mxArray* input, const char* module, const char* name, const char** text,
              Failure& failure);

// The periods as the vector T, or as Tstart, Tend, nT (checked in the order Tstart, nT, Tend).
bool readPeriodVector(const mxArray* input, const char* module, core::Periods* periods,
                      Failure& failure);
bool readPeriodRange(const mxArray* start, const mxArray* end, const mxArray* count,
                     const char* module, core::Periods* periods, Failure& failure);

// Periods T[0] = Tstart, T[i] = ΔT + T[i − 1] with ΔT = (Tend − Tstart)/(nT − 1): a running sum,
// so the last period may differ from Tend in the last bits.
void fillPeriods(double start, double end, std::int32_t count, double* periods);

// The "T" field: a duplicate of the period input, or a new nT × 1 column of generated periods.
// Sets periods->data to the values the driver must read.
mxArray* createPeriodField(const mxArray* periodInput, core::Periods* periods);

// A zero-filled real double matrix.
mxArray* createMatrix(std::int32_t rows, std::int32_t cols);

// Stores a 1 × 1 structure with the given fields, in order, as the first output.
void storeStructure(mxArray* plhs[], int nFields, const char* const* names, mxArray* const* arrays);

}  // namespace gateway
