// The peak memory of kyvane-server under a logged-in client that sends lines
// and never reads the replies, against the same server after one login.
//
//   bench_serverflood SERVER_EXE [MIB]     (MIB offered per flood, default 200)
//
// Two floods, each against a fresh server: junk lines ("x"), and put lines of
// a file the server holds (each answered with "201 exists").
#include "ScriptedClient.h"
#include "ServerChild.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

struct Flood
{
    const char* name;
    QByteArray line;
};

int runFlood(const QString& serverExe, const Flood& flood, qint64 offered)
{
    ServerChild server(serverExe);
    if (!server.start()) {
        std::fprintf(stderr, "server did not start: %s\n", qPrintable(server.errorOutput()));
        return 1;
    }
    ScriptedClient client;
    if (!client.connectAndLogIn(server.port())) {
        std::fprintf(stderr, "login failed\n");
        return 1;
    }
    QString ack;
    client.upload(QStringLiteral("a.jpg"), "abc", &ack);
    const long idle = server.peakMemoryKiB();
    const qint64 taken = client.flood(flood.line, offered, 5000);
    const char* outcome = !client.isConnected() ? "closed the connection"
                          : taken < offered     ? "stopped reading"
                                                : "read it all";
    const long peak = server.peakMemoryKiB();
    std::printf("  %-28s offered %4lld MiB, server took %7.1f MiB and %s; peak %8ld KiB, "
                "%6.2f x the %ld KiB after login\n",
                flood.name, offered >> 20, double(taken) / (1 << 20), outcome, peak,
                double(peak) / double(idle), idle);
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: bench_serverflood SERVER_EXE [MIB]\n");
        return 2;
    }
    const qint64 offered = qint64(args.size() > 2 ? args[2].toInt() : 200) << 20;
    std::printf("kyvane-server under a client that never reads its replies\n");
    const Flood floods[] = {
        {"junk lines \"x\"", QByteArray("x\n")},
        {"put lines of a stored file", ScriptedClient::putLine(3, "a.jpg").toLatin1() + "\r\n"},
    };
    for (const Flood& flood : floods) {
        if (runFlood(args[1], flood, offered) != 0)
            return 1;
    }
    return 0;
}
