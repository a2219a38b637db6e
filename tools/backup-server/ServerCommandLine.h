#pragma once

#include "ServerOptions.h"

#include <QCommandLineParser>
#include <QStringList>

namespace kyvane::server {

// The command line of kyvane-server, read into ServerOptions.
class ServerCommandLine
{
public:
    ServerCommandLine();

    // arguments include the program name first. False when they are wrong;
    // errorText() then says why.
    bool parse(const QStringList& arguments);
    bool helpRequested() const { return m_helpRequested; }
    QString helpText() const { return m_parser.helpText(); }
    QString errorText() const { return m_error; }
    const ServerOptions& options() const { return m_options; }

    // "NAME:PASSWORD" into accounts; the password may hold ":".
    static bool addAccount(const QString& nameAndPassword, QHash<QString, QString>& accounts,
                           QString* error);
    // A file of "NAME:PASSWORD" lines; empty lines and lines that begin with
    // "#" are skipped.
    static bool readAccountsFile(const QString& path, QHash<QString, QString>& accounts,
                                 QString* error);

private:
    bool fail(const QString& error);
    // The value of option name into *value when it is set; a whole number of
    // at least minimum, else false with problem and the value as the error.
    bool readInt(const QString& name, int minimum, int* value, const char* problem);

    QCommandLineParser m_parser;
    ServerOptions m_options;
    bool m_helpRequested = false;
    QString m_error;
};

} // namespace kyvane::server
