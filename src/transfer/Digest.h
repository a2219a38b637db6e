#pragma once

#include <QString>

namespace kyvane {

// The salt put in front of a password before its digest is taken.
inline const QString kPasswordSalt = QStringLiteral("Tulip#Kx=");

// MD5 of instr as 32 lower-case hexadecimal digits. The bytes hashed are
// instr in 7-bit ASCII, one byte per UTF-16 code unit, with "?" for every
// code unit above U+007F. Pure and thread-safe.
QString LockboxMD5(const QString& instr);

// The helo text of a server nonce: for each UTF-16 code unit c the decimal
// digits of c*c and one blank, with the digits exchanged as
// 0->e 1->c 2->a 3->f 6->d 7->8 8->7 9->b (4 and 5 stay). Pure and
// thread-safe; the final blank is part of the result.
QString FloatEnc(const QString& instr);

// The stored form of a password: LockboxMD5 of the salt and the password.
QString passwordDigest(const QString& password);

// 7-bit ASCII bytes of text: one byte per UTF-16 code unit, "?" above U+007F.
QByteArray toSevenBitAscii(const QString& text);

} // namespace kyvane
