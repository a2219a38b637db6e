#pragma once

#include <QString>

namespace kyvane {

// The size text of the file explorer: up to 1,048,576 bytes
// (bytes div 1024) + 1 " KB", above that (bytes div 1,048,576) + 1 " MB".
// So 0 bytes read 1 KB, 1,048,576 bytes 1025 KB, 1,048,577 bytes 2 MB.
QString FormatSizeText(qint64 bytes);

// The length of a regular file opened for reading; -1 when it is no regular
// file (a FIFO would block the opening) or cannot be opened.
qint64 FileSizeOf(const QString& path);

} // namespace kyvane
