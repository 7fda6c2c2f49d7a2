// Driver outputs over storage a test lays out itself.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "core/gateway/fields.h"
#include "core/spectra/outputs.h"

namespace support {

// Outputs writing "pga" to *pga, "f" to f, and the named matrix quantities to the vectors of
// `fields`, in the order of `names`.
inline core::SpectraOutputs bindOutputs(double* pga, double* f,
                                        const std::vector<std::string>& names,
                                        std::vector<std::vector<double>>& fields) {
  core::SpectraOutputs out;
  out.pga = pga;
  out.f = f;
  for (std::size_t k = 0; k < names.size(); ++k) {
    const gateway::Field* field = gateway::sharedField(names[k].c_str());
    if (field == nullptr || field->slot == nullptr) throw std::invalid_argument(names[k]);
    out.*(field->slot) = fields.at(k).data();
  }
  return out;
}

}  // namespace support
