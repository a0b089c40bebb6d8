#include "system/stop_request.h"

#include <csignal>

namespace kobrant {
namespace {

volatile std::sig_atomic_t gStopRequested = 0;

}  // namespace

void RequestStop() { gStopRequested = 1; }

bool StopRequested() { return gStopRequested != 0; }

}  // namespace kobrant
