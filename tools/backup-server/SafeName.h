#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace kyvane::server {

// Names that come from outside become folder and file names under the root
// folder; these checks make sure none of them can reach outside its folder.
namespace safename {

// Longest file name, in UTF-8 bytes: the limit of the usual Linux file
// systems. Partial-file names and version numbers are shortened to fit it.
inline constexpr qsizetype kMaxFileNameBytes = 255;

// The file name carried Base64-encoded in a put line, or nothing (with the
// reason in *why) when it is not valid Base64 of UTF-8 or not a safe name.
std::optional<QString> decodeFileName(const QByteArray& base64, QString* why = nullptr);

// A file name that is a single plain entry of a folder: not empty, not "." or
// "..", no "/" or "\", no control characters, not longer than the limit, and
// not one of the server's own partial-file or name-record names.
bool isSafeFileName(const QString& name, QString* why = nullptr);

// The longest start of text that takes no more than maxBytes in UTF-8,
// never cutting a character in two.
QString leftUtf8(const QString& text, qsizetype maxBytes);

// An account name that can serve as the account's folder and that a client
// can send: the file name rules, no blanks at either end, and 7-bit ASCII only
// (clients send every other character as "?").
bool isSafeAccountName(const QString& name, QString* why = nullptr);

} // namespace safename
} // namespace kyvane::server
