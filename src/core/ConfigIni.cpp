#include "core/ConfigIni.h"

#include "core/AtomicWrite.h"
#include "core/IniFile.h"
#include "core/Logging.h"
#include "core/ProgramFolder.h"

#include <QFile>

namespace kyvane {

namespace {

QString configPath() { return ProgramFolder::file(QStringLiteral("config.ini")); }

// The file's bytes; nothing when it exists but cannot be read.
std::optional<QByteArray> readConfig(QString* error)
{
    QFile file(configPath());
    if (!file.exists())
        return QByteArray();
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return std::nullopt;
    }
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = file.errorString();
        return std::nullopt;
    }
    return content;
}

} // namespace

QString ReadIni(const QString& instr1, const QString& instr2, const QString& instr3)
{
    QString error;
    const auto content = readConfig(&error);
    if (!content) {
        qCWarning(lcCore) << "config.ini cannot be read:" << error;
        return instr3;
    }
    return IniFile(*content).value(instr1, instr2).value_or(instr3);
}

QString WriteIni(const QString& instr1, const QString& instr2, const QString& instr3)
{
    QString error;
    const auto content = readConfig(&error);
    // Writing over a file we could not read would lose what it holds.
    if (!content)
        return error;
    IniFile ini(*content);
    ini.setValue(instr1, instr2, instr3);
    return writeFileAtomically(configPath(), ini.content());
}

} // namespace kyvane
