#pragma once
// A stop asked for from outside (on Linux: SIGHUP, SIGTERM or SIGINT): the signal
// handler sets it, and every loop that waits or retries looks at it, so that a signal
// is never turned into nothing by a call that is simply made again.
//   StopRequested()                 -> false
//   RequestStop(); StopRequested()  -> true, for the rest of the process

namespace kobrant {

// Safe in a signal handler: it sets one flag.
void RequestStop();
bool StopRequested();

}  // namespace kobrant
