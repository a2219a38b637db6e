#pragma once

#include <QString>

namespace kyvane::server {

// The server's own rules of the upload protocol. Line coding, trimming, the
// nonce of a greeting and the resume offset of a reply are read exactly as
// the client reads them (transfer/WireFormat.h).
namespace protocol {

inline constexpr qint64 kChunkBytes = 819200; // the client's chunk size

// A fresh nonce of letters and digits from the system's random source.
QString makeNonce();

// The default greeting that carries nonce in its second comma field.
QString greetingFor(const QString& nonce);

// The text after "helo " that proves a client knows the helo scrambling.
QString expectedHelo(const QString& nonce);

// The proof after the account on the auth line.
QString expectedProof(const QString& password, const QString& nonce);

} // namespace protocol
} // namespace kyvane::server
