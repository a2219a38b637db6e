#include "transfer/BrokenPipe.h"

#include <csignal>

namespace kyvane {

void ignoreBrokenPipe()
{
    std::signal(SIGPIPE, SIG_IGN);
}

} // namespace kyvane
