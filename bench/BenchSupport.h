#pragma once

// What the upload benchmarks share: data files in memory, fresh names for
// the same bytes, timings of this process, the real worker run into the real
// window, and the figures' medians.
#include "ServerProcess.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace kyvane {
class TForm1;
}

namespace bench {

extern const QString kAccount;
extern const QString kPassword;
// Files live in memory, so that neither the disk of the client nor that of
// the server decides the figures.
extern const QString kScratch;

// A file of size bytes of a fixed pattern.
void makeDataFile(const QString& path, qint64 size);

// A fresh name for the same bytes, so the server never answers "it exists".
QString freshLink(const QString& data, int run);

// Removes the sent name and what the server stored under it.
void forgetStored(const ServerProcess& server, const QString& path);

// Time taken by one upload: wall-clock seconds, and the CPU seconds this
// process spent on it (all its threads; the receiver is another process).
// The CPU time tells the senders' cost apart even when other work on the
// machine makes the wall-clock figures noisy.
struct Timing
{
    double seconds = 0;
    double cpuSeconds = 0;
};

class Stopwatch
{
public:
    Stopwatch();
    Timing elapsed() const;

private:
    QElapsedTimer m_timer;
    double m_cpuStart;
};

// The window the worker reports into, on a program folder of its own.
struct Setup
{
    Setup();
    ~Setup();

    QTemporaryDir dir;
    QTemporaryDir programFolder;
    std::unique_ptr<kyvane::TForm1> form;
};

// One job of the worker into the window: every path, in order, to server.
Timing clientRun(kyvane::TForm1& form, const ServerProcess& server, const QStringList& paths,
                 bool recordOutcomes = true);

// The plain sender of the same files over one connection, on a thread of
// its own like the worker.
Timing plainRun(const ServerProcess& server, const QStringList& paths, bool noDelay);

// The offscreen platform unless one was chosen; before the QApplication.
void preferOffscreen();

// The command line after the program's name, which must name the receiver's
// executable first; else usage is printed and the program ends.
QStringList receiverArguments(const char* usage);

double median(std::vector<double> values);
QString loadAverage();

} // namespace bench
