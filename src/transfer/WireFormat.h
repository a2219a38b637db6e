#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace kyvane::wire {

// Longest line accepted from a server, terminator not counted.
constexpr qsizetype kMaxLineBytes = 16384;

// A line to send: 7-bit ASCII ("?" for anything above U+007F) and CR LF.
QByteArray encodeLine(const QString& text);

// A received line without its LF (and a CR just before it): bytes 80-FF
// become U+FFFD.
QString decodeLine(const QByteArray& bytes);

// The first three characters of a reply; empty for a shorter line.
QString replyCode(const QString& line);

// A reply whose code begins with "4" or "5": the server declines what was
// asked, and says why in the text after the code.
bool isRefusal(const QString& reply);

// What a reply says after its code, trimmed; the trimmed reply itself when
// nothing follows the code.
QString replyText(const QString& reply);

// The nonce of a greeting: the second comma-separated field, trimmed.
QString nonceFromGreeting(const QString& greeting);

// The resume offset of a put reply: the whole number after the first blank
// (blanks before it allowed), else 0. A negative offset from a faulty server
// is read as 0 so no byte before the start of the file is ever asked for.
qint64 resumeOffset(const QString& reply);

// "YYYY/MM/DD;hh:mm:ss" of a UTC moment, or the date alone at exactly
// 00:00:00.000.
QString timeField(const QDateTime& utc);

// The created field: "none" for an unknown creation time or one in the
// 1970s (an unset time on many file systems).
QString createdField(const QDateTime& utc);

// The put line for one file.
QString putLine(qint64 size, const QString& fileName, const QDateTime& createdUtc,
                const QDateTime& modifiedUtc, const QString& captured);

// Share of the file sent, rounded to the nearest whole percent with halves
// going to the even neighbour.
int percentSent(qint64 total, qint64 remaining);

// Text trimmed of leading and trailing characters U+0000 to U+0020.
QString trimControls(const QString& text);

} // namespace kyvane::wire
