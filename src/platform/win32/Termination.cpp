#include "platform/Termination.h"

#include <csignal>
#include <cstdlib>

namespace {

void EndNow(int) { std::_Exit(0); }

}  // namespace

// Windows has no SIGHUP; its console raises SIGINT, and SIGTERM is raised
// only from within. A screen saver is usually ended by its window's
// messages instead.
void EndAtOnceOnTerminationSignals() {
    std::signal(SIGINT, EndNow);
    std::signal(SIGTERM, EndNow);
}
