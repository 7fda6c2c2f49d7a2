// The host array boundary: the MEX interface of the host the module is built for. The plug-in
// build (SPECTRA_PLUGIN) sees the real host's mex.h; every other build sees the project's own host.
#pragma once

#if defined(SPECTRA_PLUGIN)
#include <mex.h>
#else
#include "host/host_mex.h"
#endif
