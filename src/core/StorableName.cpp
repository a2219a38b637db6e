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
        // Beyond the control characters, those that end a line where text
        // is shown: the C1 controls (NEL among them) and the line and
        // paragraph separators.
        if (isControl(c.unicode()) || c.category() == QChar::Other_Control ||
            c.category() == QChar::Separator_Line || c.category() == QChar::Separator_Paragraph)
            c = QChar::ReplacementCharacter;
    }
    return text;
}

} // namespace kyvane::StorableName
