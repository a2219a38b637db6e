#include "core/AtomicWrite.h"

#include <QSaveFile>

namespace kyvane {

QString writeFileAtomically(const QString& path, const QByteArray& content)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(content) != content.size()) {
        const QString message = file.errorString();
        file.cancelWriting();
        return message;
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}

} // namespace kyvane
