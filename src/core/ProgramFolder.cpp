#include "core/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace kyvane {

namespace {
QString g_folder;
QString g_testOverride;
} // namespace

QString ProgramFolder::withOneTrailingSeparator(const QString& folder)
{
    QString result = QDir::fromNativeSeparators(folder);
    while (result.endsWith(QLatin1Char('/')))
        result.chop(1);
    return result + QLatin1Char('/');
}

void ProgramFolder::fix()
{
    if (!g_testOverride.isEmpty()) {
        g_folder = g_testOverride;
        return;
    }
    // applicationDirPath() is absolute and does not depend on the working folder.
    g_folder = withOneTrailingSeparator(QCoreApplication::applicationDirPath());
}

QString ProgramFolder::path() { return g_folder; }

QString ProgramFolder::file(const QString& name) { return g_folder + name; }

void ProgramFolder::setForTesting(const QString& folder)
{
    g_testOverride = withOneTrailingSeparator(QFileInfo(folder).absoluteFilePath());
    g_folder = g_testOverride;
}

} // namespace kyvane
