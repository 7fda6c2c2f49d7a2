// The gateways of the modules this build has, by module name, for the benchmark tools.
#pragma once

#include <string>
#include <vector>

#include "host/host.h"

namespace bench {

struct ModuleGateway {
  const char* name;  // "Quorvel" ... "Vintarrow", and "Tillock/weight"
  host::Gateway gateway;
};

const std::vector<ModuleGateway>& moduleGateways();
host::Gateway gatewayOf(const std::string& name);

// The synthetic record of the demo: n samples at dt, peak |value| = peak.
std::vector<double> syntheticRecord(int n, double dt, unsigned seed, double peak);

}  // namespace bench
