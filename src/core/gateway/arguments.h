// Reading and checking gateway inputs, generating period vectors and assembling the output
// structure: the conventions every module's mexFunction shares.
#pragma once

#include <cstdint>

#include "core/gateway/host_api.h"

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

// The two horizontal components ag1, ag2 (inputs 0 and 1) of a two-component module: both
// non-empty real double vectors; nAg is the shorter length, the longer record's rest is unused.
bool readRecordPair(const mxArray* prhs[], const char* module, const double** ag1,
                    const double** ag2, std::int32_t* nAg, Failure& failure);

// A number of periods: a real double scalar truncated toward zero, at least 1.
bool readCount(const mxArray* input, const char* module, const char* name, std::int32_t* count,
               Failure& failure);

// Text (a char array), as a NUL-terminated copy owned by the host; "" when the text holds a NUL.
bool readText(const mxArray* input, const char* module, const char* name, const char** text,
              Failure& failure);

// The periods of a call: either an input vector used in place, or Tstart, Tend and nT.
struct Periods {
  const double* data = nullptr;  // the input vector; null when generated
  std::int32_t count = 0;
  double start = 0.0;
  double end = 0.0;
};

bool readPeriodVector(const mxArray* input, const char* module, Periods* periods,
                      Failure& failure);
bool readPeriodRange(const mxArray* start, const mxArray* end, const mxArray* count,
                     const char* module, Periods* periods, Failure& failure);

// The periods of a calling form starting at input `first`: Tstart, Tend, nT when generated,
// otherwise the vector T.
bool readPeriods(const mxArray* prhs[], int first, bool generated, const char* module,
                 Periods* periods, Failure& failure);

// Periods T[0] = Tstart, T[i] = ΔT + T[i − 1] with ΔT = (Tend − Tstart)/(nT − 1): a running sum,
// so the last period may differ from Tend in the last bits.
void fillPeriods(double start, double end, std::int32_t count, double* periods);

// The "T" field: a duplicate of the period input, or a new nT × 1 column of generated periods.
// Sets periods->data to the values the driver must read.
mxArray* createPeriodField(const mxArray* periodInput, Periods* periods);

// A zero-filled real double matrix.
mxArray* createMatrix(std::int32_t rows, std::int32_t cols);

// Every module's output arrays, in field order: "pga" (a scalar 0), copies of the mass (or
// weight) and of the swept parameter as given, "T", "f" (nT × 1), then nT × nSwept zero
// matrices up to nFields. data[i] receives each array's values; periods->data the periods.
void createOutputs(int nFields, mxArray* fields[], double* data[], const mxArray* mass,
                   const mxArray* swept, std::int32_t nSwept, const mxArray* periodInput,
                   Periods* periods);

// Stores a 1 × 1 structure with the given fields, in order, as the first output.
void storeStructure(mxArray* plhs[], int nFields, const char* const* names, mxArray* const* arrays);

}  // namespace gateway
