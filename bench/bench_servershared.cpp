// How fast one store takes uploads through one kyvane-server process and
// through two on it: three clients send at once, two of them the same file
// and the third another version of it (the case of tst_servershared), in
// alternating runs, each on a fresh store.
//
//   bench_servershared SERVER_EXE [--runs N] [--mib N] [--sync]
//
// --mib: size of each file (default 64); --sync: the servers sync every file
// before acknowledging it, as a user's server does (else --no-sync, so that
// the disk does not set the pace). The stores lie in the temporary folder.
#include "ServerChild.h"
#include "UploadsAtOnce.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct Figures
{
    double mibPerSecond = 0;
    double serverSeconds = 0; // processor time of every server process
};

int option(const QStringList& args, const QString& name, int fallback)
{
    const qsizetype at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args.at(at + 1).toInt() : fallback;
}

double median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

QByteArray contentOf(qint64 size, char seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = char((i * 131 + seed + i / 251) & 0xFF);
    return bytes;
}

bool holds(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.readAll() == content;
}

// One run on a fresh store; false with a message when it went wrong.
bool runOnce(const QString& serverExe, int servers, bool sync, const QByteArray& first,
             const QByteArray& second, Figures* figures)
{
    QTemporaryDir store;
    const QString root = store.filePath(QStringLiteral("root"));
    std::vector<std::unique_ptr<ServerChild>> children;
    for (int i = 0; i < servers; ++i) {
        children.push_back(std::make_unique<ServerChild>(serverExe, QStringList{}, nullptr, root));
        if (sync)
            children.back()->syncEachFile();
        if (!children.back()->start()) {
            std::fprintf(stderr, "server did not start: %s\n",
                         qPrintable(children.back()->errorOutput()));
            return false;
        }
    }
    const auto portFor = [&](int client) { return children[client % servers]->port(); };
    const QString firstTime = QStringLiteral("2024/05/17;08:03:09");
    const QString secondTime = QStringLiteral("2024/06/01;10:00:00");
    std::vector<UploadAtOnce> uploads{{portFor(0), &first, firstTime, {}, {}},
                                      {portFor(1), &first, firstTime, {}, {}},
                                      {portFor(2), &second, secondTime, {}, {}}};
    const double seconds = uploadAtOnce(uploads);
    for (const UploadAtOnce& upload : uploads) {
        if (upload.ack != QLatin1String("250 stored") &&
            upload.reply != QLatin1String("201 exists")) {
            std::fprintf(stderr, "an upload failed: %s / %s\n", qPrintable(upload.reply),
                         qPrintable(upload.ack));
            return false;
        }
    }
    const QString one = root + QStringLiteral("/bob/clip.mov");
    const QString two = root + QStringLiteral("/bob/clip (2).mov");
    if (seconds <= 0 ||
        !((holds(one, first) && holds(two, second)) || (holds(one, second) && holds(two, first)))) {
        std::fprintf(stderr, "the store does not hold one copy of each version\n");
        return false;
    }
    figures->mibPerSecond =
        double(first.size() + first.size() + second.size()) / (1 << 20) / seconds;
    figures->serverSeconds = 0;
    for (const auto& child : children)
        figures->serverSeconds += child->processorSeconds();
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr,
                     "usage: bench_servershared SERVER_EXE [--runs N] [--mib N] [--sync]\n");
        return 2;
    }
    const int runs = std::max(1, option(args, QStringLiteral("--runs"), 5));
    const qint64 fileBytes = qint64(std::max(1, option(args, QStringLiteral("--mib"), 64))) << 20;
    const bool sync = args.contains(QStringLiteral("--sync"));
    const QByteArray first = contentOf(fileBytes, 1);
    const QByteArray second = contentOf(fileBytes, 2);

    std::printf("3 clients at once, 2 with the same %lld MiB file, 1 with another version; "
                "%s; %d runs\n",
                fileBytes >> 20, sync ? "every file synced" : "--no-sync", runs);
    std::printf("  run   one process MiB/s (CPU s)   two processes MiB/s (CPU s)   two / one\n");
    std::vector<double> ones;
    std::vector<double> twos;
    std::vector<double> ratios;
    for (int run = 1; run <= runs; ++run) {
        Figures one;
        Figures two;
        // Alternating which goes first evens out a machine that warms up or slows down.
        const bool oneFirst = run % 2 == 1;
        for (const int servers : oneFirst ? std::vector<int>{1, 2} : std::vector<int>{2, 1}) {
            if (!runOnce(args[1], servers, sync, first, second, servers == 1 ? &one : &two))
                return 1;
        }
        ones.push_back(one.mibPerSecond);
        twos.push_back(two.mibPerSecond);
        ratios.push_back(two.mibPerSecond / one.mibPerSecond);
        std::printf("  %3d   %19.0f (%5.2f)   %21.0f (%5.2f)   %9.2f\n", run, one.mibPerSecond,
                    one.serverSeconds, two.mibPerSecond, two.serverSeconds, ratios.back());
        std::fflush(stdout);
    }
    std::printf("  median %17.0f %31.0f %19.2f\n", median(ones), median(twos), median(ratios));
    return 0;
}
