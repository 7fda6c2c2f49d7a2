// The parts of Morbane's driver that its straightforward path and its lane path share.
#pragma once

#include <cstdint>

#include "core/spectra/elastic_oscillator.h"
#include "core/spectra/histories.h"
#include "core/spectra/outputs.h"
#include "morbane/driver.h"
#include "morbane/ductility_search.h"

namespace morbane::detail {

// Everything one call shares: the inputs, the outputs and the scratch capacity.
struct Call {
  const core::SpectraOutputs& out;
  const Inputs& in;
  Strength strength;
  std::int64_t nMax;
};

// The yield force of oscillator o under a fixed strength definition (not the ductility), from
// the peak force FEl of its elastic reference.
double fixedStrength(const Call& c, const core::ElasticOscillator& o, double FEl);

// The values of oscillator idx that follow from the peaks of its final analysis at the yield force
// fy, already written with its residual displacement, and from the peaks uEl, FEl of its elastic
// reference: pseudo quantities, damping force, yield quantities and strength factors.
void writeStrengthValues(const Call& c, std::int32_t idx, const core::ElasticOscillator& o,
                         double fy, double uEl, double FEl);

enum class SearchResult { Settled, Failed, NeedsCarry };

// Period i and damping ratio j one analysis at a time on the histories h: the elastic reference,
// the yield force (by a ductility search with the carry), the final analysis and every output of
// the oscillator. Failed after a search that did not settle, NeedsCarry when the search needs the
// carried peak before it is known (nothing written then).
SearchResult analyseInOrder(const Call& c, std::int32_t i, std::int32_t j, const core::Histories& h,
                            Carry& carry);

// Every oscillator with its analyses side by side in vector lanes (driver_lanes.cpp): the outputs,
// warnings and status of the one-thread straightforward path, bit for bit.
std::int32_t getSpectraInLanes(const Call& c);

}  // namespace morbane::detail
