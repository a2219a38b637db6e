#include "PartialSweep.h"

#include "PartialLock.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kyvane::server {

namespace {

// Removes path when nobody has it open and it is due; the line for the log,
// or an empty one when the file stays.
QString sweepOne(const QString& path, const QString& shownName, bool privateFile,
                 const QDateTime& olderThan)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return {};
    QString line;
    struct stat status
    {
    };
    if (partiallock::tryLockForRemoval(fd) && partiallock::isStillAt(fd, path) &&
        ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        const QDateTime written = QDateTime::fromSecsSinceEpoch(status.st_mtim.tv_sec, Qt::UTC);
        if ((privateFile || written < olderThan) &&
            ::unlink(QFile::encodeName(path).constData()) == 0) {
            line = QStringLiteral("%1 (%2 bytes, %3)")
                       .arg(shownName)
                       .arg(qint64(status.st_size))
                       .arg(privateFile
                                ? QStringLiteral("private")
                                : QStringLiteral("last written ") + written.toString(Qt::ISODate));
        }
    }
    ::close(fd); // drops the lock
    return line;
}

} // namespace

bool isPrivatePartialName(const QString& fileName)
{
    static const QRegularExpression form(QStringLiteral("^\\..*\\.[0-9a-f]{16}\\.partial$"));
    return form.match(fileName).hasMatch();
}

QStringList sweepPartials(const QString& root, const QDateTime& olderThan)
{
    QStringList removed;
    const QDir rootFolder(root);
    const QStringList accounts =
        rootFolder.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks);
    for (const QString& account : accounts) {
        QDirIterator it(rootFolder.filePath(account), {QStringLiteral(".*.partial")},
                        QDir::Files | QDir::Hidden | QDir::System);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString file = it.fileName();
            const QString line = sweepOne(path, account + QLatin1Char('/') + file,
                                          isPrivatePartialName(file), olderThan);
            if (!line.isEmpty())
                removed << line;
        }
    }
    return removed;
}

} // namespace kyvane::server
