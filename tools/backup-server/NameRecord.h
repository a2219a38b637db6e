#pragma once

#include <QString>

#include <optional>

namespace kyvane::server {

class DiskCalls;

// The name a client gave a stored file, kept beside it. A stored name can
// differ from it ("IMG (2).jpg", a long name shortened), so whether the
// store holds a file is decided by the name the client sends, never by the
// stored name alone. The record is the extended attribute user.kyvane.name,
// or, on a file system without extended attributes, the hidden side file
// ".<stored name>.kyvane-name". Files stored before there were records have
// none; they are known by size and time alone, as they always were.
namespace namerecord {

inline constexpr char kAttribute[] = "user.kyvane.name";
inline constexpr char kSideFileSuffix[] = ".kyvane-name";

// Records name on the open file; 0, or the errno. attributesUnsupported()
// tells the errors after which the side file is the place.
int attach(DiskCalls& calls, int fd, const QString& name);
bool attributesUnsupported(int error);

// Writes the side file of the stored file (and syncs it when sync is true);
// 0 or the errno.
int writeSideFile(DiskCalls& calls, const QString& storedPath, const QString& name, bool sync);
QString sideFilePath(const QString& storedPath);
// True for the name of a side file; such names are never taken from clients.
bool isSideFileName(const QString& name);

// The recorded name of a stored file; nothing when none was recorded.
std::optional<QString> read(const QString& storedPath);

} // namespace namerecord
} // namespace kyvane::server
