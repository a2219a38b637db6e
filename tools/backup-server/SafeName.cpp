#include "SafeName.h"

#include "NameRecord.h"

#include <QStringDecoder>

namespace kyvane::server::safename {

namespace {

bool fail(QString* why, const char* reason)
{
    if (why)
        *why = QString::fromLatin1(reason);
    return false;
}

} // namespace

std::optional<QString> decodeFileName(const QByteArray& base64, QString* why)
{
    // Clients pad with "=", so a length that is no multiple of 4 is an error.
    const auto decoded =
        QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || base64.size() % 4 != 0) {
        fail(why, "name is not Base64");
        return std::nullopt;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString name = utf8.decode(*decoded);
    if (utf8.hasError()) {
        fail(why, "name is not UTF-8");
        return std::nullopt;
    }
    if (!isSafeFileName(name, why))
        return std::nullopt;
    return name;
}

bool isSafeFileName(const QString& name, QString* why)
{
    if (name.isEmpty())
        return fail(why, "name is empty");
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return fail(why, "name is a folder reference");
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\'))
            return fail(why, "name holds a path separator");
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return fail(why, "name holds a control character");
    }
    if (name.toUtf8().size() > kMaxFileNameBytes)
        return fail(why, "name is longer than 255 bytes");
    // Partial files are kept as ".<name>.<tag>.partial" beside the stored ones.
    if (name.startsWith(QLatin1Char('.')) && name.endsWith(QLatin1String(".partial")))
        return fail(why, "name is reserved for partial files");
    // and the names of stored files are recorded in ".<name>.kyvane-name".
    if (namerecord::isSideFileName(name))
        return fail(why, "name is reserved for name records");
    return true;
}

QString leftUtf8(const QString& text, qsizetype maxBytes)
{
    qsizetype bytes = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size();
        const char32_t code = pair ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1))
                                   : char32_t(text.at(i).unicode());
        const qsizetype size = code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
        if (bytes + size > maxBytes)
            break;
        bytes += size;
        i += pair ? 2 : 1;
    }
    return text.left(i);
}

bool isSafeAccountName(const QString& name, QString* why)
{
    if (!isSafeFileName(name, why))
        return false;
    if (name.front().isSpace() || name.back().isSpace())
        return fail(why, "name begins or ends with a blank");
    for (const QChar c : name) {
        if (c.unicode() > 0x7F)
            return fail(why, "name is not 7-bit ASCII");
    }
    return true;
}

} // namespace kyvane::server::safename
