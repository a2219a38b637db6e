#include "core/AtomicWrite.h"

#include <QSaveFile>

namespace kyvane {

QString writeFileAtomically(const QString& path, const QByteArray& content,
                            std::optional<QFileDevice::Permissions> permissions)
{
    QSaveFile file(path);
    // Unbuffered, so that a write the disk cannot take (full disk, size
    // limit) shows here as a short count: a buffered QSaveFile drops the rest
    // at commit and still reports success, replacing the old file with a
    // truncated one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    // On the temporary file, before it holds anything: the content is never
    // readable by more than the permissions allow, not even for a moment.
    if (permissions && !file.setPermissions(*permissions)) {
        const QString message = file.errorString();
        file.cancelWriting();
        return message;
    }
    const qint64 written = file.write(content);
    if (written != content.size()) {
        const QString message = file.error() != QFileDevice::NoError
                                    ? file.errorString()
                                    : QStringLiteral("only %1 of %2 bytes could be written")
                                          .arg(qMax<qint64>(written, 0))
                                          .arg(content.size());
        file.cancelWriting();
        return message;
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}

} // namespace kyvane
