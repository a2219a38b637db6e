#pragma once

namespace kyvane {

// Sending a file straight from the file system (sendfile) cannot refuse the
// SIGPIPE a peer that closed the connection raises, and that signal would
// end the whole program. The program ignores it once, at start-up, before
// any thread runs; a write to a closed peer then fails with EPIPE and fails
// only its entry.
void ignoreBrokenPipe();

} // namespace kyvane
