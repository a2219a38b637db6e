#include "core/ProgramFolder.h"

#include "core/Logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

#ifndef KYVANE_PER_USER_FOLDER
#define KYVANE_PER_USER_FOLDER 0
#endif

namespace kyvane {

namespace {
QString g_folder;
QString g_testOverride;
std::optional<ProgramFolder::Refusal> g_refusal;

// The folder's permissions and owner, read and changed through one handle
// that never follows a link, so nothing can be swapped in between.
ProgramFolder::Refusal tightenExisting(const QByteArray& path)
{
    struct stat info;
    if (::lstat(path.constData(), &info) != 0) {
        qCWarning(lcCore) << "cannot read the program folder" << path << std::strerror(errno);
        return ProgramFolder::Refusal::None;
    }
    if (S_ISLNK(info.st_mode))
        return ProgramFolder::Refusal::IsLink;
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        qCWarning(lcCore) << "cannot open the program folder" << path << std::strerror(error);
        return error == ELOOP ? ProgramFolder::Refusal::IsLink : ProgramFolder::Refusal::None;
    }
    ProgramFolder::Refusal refusal = ProgramFolder::Refusal::None;
    if (::fstat(fd, &info) != 0) {
        qCWarning(lcCore) << "cannot read the program folder" << path << std::strerror(errno);
    } else if (info.st_uid != ::geteuid()) {
        refusal = ProgramFolder::Refusal::NotOwned;
    } else if ((info.st_mode & 077) != 0 && ::fchmod(fd, info.st_mode & 0700) != 0) {
        qCWarning(lcCore) << "cannot tighten the program folder" << path << std::strerror(errno);
    }
    ::close(fd);
    return refusal;
}

// The user's data folder. A relative XDG_DATA_HOME is invalid by the XDG rules
// and would tie the folder to the working folder: the default stands then.
QString userDataFolder()
{
    const QString location = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (QDir::isAbsolutePath(location))
        return location;
    return QDir::homePath() + QStringLiteral("/.local/share");
}
} // namespace

ProgramFolder::Kind ProgramFolder::builtKind()
{
    return KYVANE_PER_USER_FOLDER ? Kind::PerUser : Kind::ExecutableFolder;
}

QString ProgramFolder::perUserFolderName()
{
    return QStringLiteral("kyvane");
}

QString ProgramFolder::withOneTrailingSeparator(const QString& folder)
{
    QString result = QDir::fromNativeSeparators(folder);
    while (result.endsWith(QLatin1Char('/')))
        result.chop(1);
    return result + QLatin1Char('/');
}

QString ProgramFolder::folderFor(Kind kind, const QString& executableFolder,
                                 const QString& userDataFolder)
{
    if (kind == Kind::PerUser)
        return withOneTrailingSeparator(withOneTrailingSeparator(userDataFolder) +
                                        perUserFolderName());
    return withOneTrailingSeparator(executableFolder);
}

ProgramFolder::Refusal ProgramFolder::makePrivate(const QString& folder)
{
    const QString withoutSeparator = QDir::cleanPath(folder);
    const QByteArray path = QFile::encodeName(withoutSeparator);
    // The folders above it are the user's data folder: made as usual.
    const QString parent = QFileInfo(withoutSeparator).path();
    if (!QDir().mkpath(parent))
        qCWarning(lcCore) << "cannot create the folder" << parent;
    // Private from its first moment, not made open and tightened after.
    if (::mkdir(path.constData(), 0700) == 0)
        return Refusal::None;
    if (errno != EEXIST) {
        qCWarning(lcCore) << "cannot create the program folder" << folder << std::strerror(errno);
        return Refusal::None;
    }
    return tightenExisting(path);
}

ProgramFolder::Refusal ProgramFolder::fix()
{
    if (!g_testOverride.isEmpty()) {
        g_folder = g_testOverride;
        return Refusal::None;
    }
    if (g_refusal)
        return *g_refusal;
    // applicationDirPath() and the data location are absolute and do not
    // depend on the working folder.
    g_folder = folderFor(builtKind(), QCoreApplication::applicationDirPath(), userDataFolder());
    g_refusal = builtKind() == Kind::PerUser ? makePrivate(g_folder) : Refusal::None;
    return *g_refusal;
}

QString ProgramFolder::path()
{
    return g_folder;
}

QString ProgramFolder::file(const QString& name)
{
    return g_folder + name;
}

void ProgramFolder::setForTesting(const QString& folder)
{
    g_testOverride = withOneTrailingSeparator(QFileInfo(folder).absoluteFilePath());
    g_folder = g_testOverride;
}

} // namespace kyvane
