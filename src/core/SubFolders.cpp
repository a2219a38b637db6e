#include "core/SubFolders.h"

#include <QDir>

#include <algorithm>
#include <vector>

namespace kyvane {

QStringList subFolders(const QString& folder)
{
    // An empty path would list the working folder.
    if (folder.isEmpty())
        return {};
    const QDir dir(folder);
    // Listed by name first so that folders equal but for case keep one order.
    QStringList paths;
    for (const QString& name :
         dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name))
        paths << dir.filePath(name);
    QStringList keys;
    std::vector<qsizetype> order(paths.size());
    for (qsizetype i = 0; i < paths.size(); ++i) {
        keys << paths.at(i).toLower();
        order[i] = i;
    }
    std::stable_sort(order.begin(), order.end(),
                     [&keys](qsizetype a, qsizetype b) { return keys.at(a) < keys.at(b); });
    QStringList sorted;
    sorted.reserve(paths.size());
    for (const qsizetype i : order)
        sorted << paths.at(i);
    return sorted;
}

QString parentFolder(const QString& path)
{
    QString folder = path;
    if (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    const qsizetype slash = folder.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QString();
    if (slash == 0)
        return QStringLiteral("/");
    return folder.left(slash);
}

} // namespace kyvane
