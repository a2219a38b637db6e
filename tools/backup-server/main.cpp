#include "BackupServer.h"
#include "ServerCommandLine.h"

#include <QCoreApplication>
#include <QDir>
#include <QLoggingCategory>

#include <csignal>
#include <cstdio>

int main(int argc, char* argv[])
{
    // A file passing a size limit (ulimit -f, LimitFSIZE=) fails its write
    // and is answered like a full disk, instead of ending the server.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kyvane-server"));

    kyvane::server::ServerCommandLine commandLine;
    const bool parsed = commandLine.parse(QCoreApplication::arguments());
    if (commandLine.helpRequested()) {
        std::fputs(qPrintable(commandLine.helpText()), stdout);
        return 0;
    }
    if (!parsed) {
        std::fprintf(stderr, "kyvane-server: %s\n", qPrintable(commandLine.errorText()));
        return 2;
    }
    if (commandLine.options().accounts.isEmpty())
        std::fprintf(stderr, "kyvane-server: no account given, every login will be refused "
                             "(use --account NAME:PASSWORD)\n");

    // Connections, logins and stored files go to standard error.
    QLoggingCategory::setFilterRules(QStringLiteral("kyvane.server.info=true"));
    qSetMessagePattern(QStringLiteral("%{time yyyy-MM-dd hh:mm:ss} %{message}"));

    kyvane::server::BackupServer server(commandLine.options());
    if (!server.listen()) {
        std::fprintf(stderr, "kyvane-server: %s\n", qPrintable(server.errorString()));
        return 1;
    }
    std::fprintf(stderr, "kyvane-server: storing into %s\n",
                 qPrintable(QDir::toNativeSeparators(QDir(server.options().root).absolutePath())));
    std::printf("listening on %s:%u\n", qPrintable(server.serverAddress().toString()),
                unsigned(server.serverPort()));
    std::fflush(stdout);
    return app.exec();
}
