#pragma once

namespace kyvane {

// A write to a peer that closed the connection raises SIGPIPE, which would
// end the whole program. Our own sends refuse it, but not every write can (a
// library that writes to the socket itself, as a TLS library does). The
// program ignores it once, at start-up, before any thread runs; a write to
// a closed peer then fails with EPIPE and fails only its entry.
void ignoreBrokenPipe();

} // namespace kyvane
