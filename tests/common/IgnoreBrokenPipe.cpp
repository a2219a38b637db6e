// Every test executable starts as the program does: with SIGPIPE ignored
// (main.cpp), so that a server closing mid-file fails a send, not the test.
#include "transfer/BrokenPipe.h"

namespace {
const bool g_ignored = (kyvane::ignoreBrokenPipe(), true);
} // namespace
