#pragma once

class QFile;

namespace kyvane {

// Opens the file for the capture-time readers: only a regular file (opening
// a FIFO would block the worker), read-only and unbuffered, so that what a
// reader skips is seeked over and never read. False when it cannot be opened.
bool openMediaFile(QFile& file);

} // namespace kyvane
