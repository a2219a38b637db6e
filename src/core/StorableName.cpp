#include "core/StorableName.h"

#include <QFile>

namespace kyvane::StorableName {

namespace {

bool isControl(char16_t c)
{
    return c < 0x20 || c == 0x7F;
}

} // namespace

bool isStorable(QByteArrayView encoded)
{
    // In UTF-8 the control characters are single bytes of their own.
    for (const char byte : encoded) {
        if (isControl(static_cast<unsigned char>(byte)))
            return false;
    }
    const QByteArray bytes = encoded.toByteArray();
    return QFile::encodeName(QFile::decodeName(bytes)) == bytes;
}

bool isStorable(const QString& path)
{
    for (const QChar c : path) {
        if (isControl(c.unicode()))
            return false;
    }
    return QFile::decodeName(QFile::encodeName(path)) == path;
}

QString printable(const QString& path)
{
    QString text = path;
    for (QChar& c : text) {
        if (isControl(c.unicode()))
            c = QChar::ReplacementCharacter;
    }
    return text;
}

} // namespace kyvane::StorableName
