#include "core/ListFile.h"

#include "core/AtomicWrite.h"
#include "i18n/ExtraTexts.h"

#include <QFile>
#include <QStringDecoder>

namespace kyvane::ListFile {

namespace {
const QByteArray kBom("\xEF\xBB\xBF");
} // namespace

std::optional<QStringList> parse(const QByteArray& content)
{
    QByteArrayView bytes(content);
    if (bytes.startsWith(kBom))
        bytes = bytes.sliced(kBom.size());

    // The BOM was taken off above; a second one would be part of the first item.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;

    QStringList items;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        items.append(text.mid(lineStart, i - lineStart));
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        lineStart = i + 1;
    }
    if (lineStart < text.size())
        items.append(text.mid(lineStart));
    return items;
}

QByteArray serialize(const QStringList& items)
{
    QByteArray out = kBom;
    for (const QString& item : items) {
        out += item.toUtf8();
        out += "\r\n";
    }
    return out;
}

std::optional<QStringList> read(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    auto items = parse(content);
    if (!items && error)
        *error = QStringLiteral("not valid UTF-8 text");
    return items;
}

QString write(const QString& path, const QStringList& items,
              std::optional<QFileDevice::Permissions> permissions)
{
    for (const QString& item : items) {
        if (item.contains(QLatin1Char('\r')) || item.contains(QLatin1Char('\n')))
            return extraText(ExtraText::LineBreakInItem);
    }
    return writeFileAtomically(path, serialize(items), permissions);
}

} // namespace kyvane::ListFile
