#pragma once

#include <QByteArray>
#include <QString>

namespace kyvane::server {

// Line-level rules of the upload protocol as the server applies them.
namespace protocol {

inline constexpr qsizetype kMaxLineBytes = 16384; // without the line end
inline constexpr qint64 kChunkBytes = 819200;     // the client's chunk size

// A fresh nonce of letters and digits from the system's random source.
QString makeNonce();

// The default greeting that carries nonce in its second comma field.
QString greetingFor(const QString& nonce);

// The nonce a client reads from a greeting: the second comma-separated field,
// trimmed; empty when the greeting has no comma.
QString nonceOfGreeting(const QString& greeting);

// Removes leading and trailing characters U+0000 to U+0020.
QString trimmed(const QString& text);

// Received bytes as text: 7-bit ASCII, every byte above 7F as U+FFFD.
QString decodeLine(const QByteArray& bytes);

// Text to send: "?" for every character outside 7-bit ASCII, then CR LF.
QByteArray encodeLine(const QString& text);

// The text after "helo " that proves a client knows the helo scrambling.
QString expectedHelo(const QString& nonce);

// The proof after the account on the auth line.
QString expectedProof(const QString& password, const QString& nonce);

// The resume offset a client takes from a put reply that is not "201": the
// whole number after the first blank, 0 when there is none.
qint64 offsetOfReply(const QString& reply);

} // namespace protocol
} // namespace kyvane::server
