// Gateway lookup for the benchmark tools.
#include "gateways.h"

#include <stdexcept>

#include "records/synthetic_record.h"
#include "quorvel/gateway.h"
#include "daskent/gateway.h"
#include "tillock/gateway.h"
#include "tillock/gateway_weight.h"
#include "granwick/gateway.h"
#include "morbane/gateway.h"
#include "pellory/gateway.h"
#include "vintarrow/gateway.h"

namespace bench {

const std::vector<ModuleGateway>& moduleGateways() {
  static const std::vector<ModuleGateway> gateways = {
      {"Quorvel", quorvel::mexFunction},   {"Daskent", daskent::mexFunction},
      {"Morbane", morbane::mexFunction},   {"Tillock", tillock::mexFunction},
      {"Tillock/weight", tillock::weight::mexFunction},
      {"Granwick", granwick::mexFunction}, {"Pellory", pellory::mexFunction},
      {"Vintarrow", vintarrow::mexFunction}};
  return gateways;
}

host::Gateway gatewayOf(const std::string& name) {
  for (const ModuleGateway& m : moduleGateways())
    if (name == m.name) return m.gateway;
  throw std::invalid_argument("no module " + name);
}

std::vector<double> syntheticRecord(int n, double dt, unsigned seed, double peak) {
  return records::syntheticRecord(n, dt, seed, peak);
}

}  // namespace bench
