// Gateway lookup for the benchmark tools.
#include "bench_gateways.h"

#include <stdexcept>

#include "core/synthetic_record.h"
#include "elastic/gateway.h"
#include "elastic2d/gateway.h"
#include "friction_pendulum/gateway.h"
#include "friction_pendulum/gateway_weight.h"
#include "friction_pendulum2d/gateway.h"
#include "inelastic/gateway.h"
#include "lead_rubber/gateway.h"
#include "lead_rubber2d/gateway.h"

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
  return core::syntheticRecord(n, dt, seed, peak);
}

}  // namespace bench
