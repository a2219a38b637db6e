#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>
#include <QStringList>

#include <optional>

namespace kyvane {

// The text-list format shared by server.cfg, folder.cfg, FileExt.cfg and job
// files: UTF-8 with a byte order mark, one item per line, CR LF after every
// line including the last.
namespace ListFile {

// Splits file content into items. A leading BOM is skipped; CR LF, LF and CR
// each end a line; a final line break adds no empty item; an empty line in
// the middle is an empty item. Returns nothing when the bytes are not valid
// UTF-8, so that a damaged file is never taken for a list.
std::optional<QStringList> parse(const QByteArray& content);

// The bytes of a list file: the BOM, then each item followed by CR LF.
QByteArray serialize(const QStringList& items);

// Reads a list file. Nothing when the file is missing, cannot be read or is
// not valid UTF-8; the reason goes to *error when given.
std::optional<QStringList> read(const QString& path, QString* error = nullptr);

// For the files that hold password digests (server.cfg, job files): a
// digest is all a client needs to log in.
inline constexpr QFileDevice::Permissions kOwnerOnly{QFileDevice::ReadOwner |
                                                     QFileDevice::WriteOwner};

// Writes the whole list atomically: the old file or the new one, never half
// of one; with permissions, the file gets exactly those. Returns the empty
// string on success, else the error's text. A list with an item that holds a
// CR or LF is not written at all: read back, that item would be two.
QString write(const QString& path, const QStringList& items,
              std::optional<QFileDevice::Permissions> permissions = std::nullopt);

} // namespace ListFile

} // namespace kyvane
