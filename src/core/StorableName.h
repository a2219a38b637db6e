#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace kyvane {

// Whether a file's path can go into a job or list file and come back as the
// same file. A control character (U+0000 to U+001F, U+007F) could end the
// line it is written on, and bytes that are not valid text in the file-name
// encoding come back as other bytes: such a file could never be sent, or a
// line break in its name could add lines of someone else's choosing.
namespace StorableName {

// The path or name as the file system gives it.
bool isStorable(QByteArrayView encoded);

// The path or name as text, as a listing or the user gave it.
bool isStorable(const QString& path);

// The path as a one-line text for a note or a row: every control character
// (C0 and C1) and every line or paragraph separator shown as U+FFFD, as
// bytes that are not valid text already are.
QString printable(const QString& path);

} // namespace StorableName

} // namespace kyvane
