#pragma once

#include <QDeadlineTimer>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

#include <unistd.h>

// The kyvane-server program as a child process on a free loopback port, with
// the account "bob" (password "secret") and a root folder of its own or a
// given one, which other servers may share. The process is killed when this
// object goes.
class ServerChild
{
public:
    // setUp runs in the child before the program starts (to lower a limit).
    explicit ServerChild(const QString& executable, const QStringList& extra = {},
                         std::function<void()> setUp = {}, const QString& root = {})
        : m_root(root.isEmpty() ? m_dir.filePath(QStringLiteral("root")) : root)
    {
        m_process.setProgram(executable);
        m_process.setArguments(
            QStringList{"--port", "0", "--root", m_root, "--account", "bob:secret", "--no-sync"} +
            extra);
        if (setUp)
            m_process.setChildProcessModifier(setUp);
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        // Under the address sanitizer, freed memory is held back for a while;
        // a small hold keeps the peak memory close to what the program uses.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        const QString sanitizer = environment.value(QStringLiteral("ASAN_OPTIONS"));
        environment.insert(QStringLiteral("ASAN_OPTIONS"),
                           sanitizer + (sanitizer.isEmpty() ? "" : ":") + "quarantine_size_mb=1");
        m_process.setProcessEnvironment(environment);
    }

    ~ServerChild()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

    ServerChild(const ServerChild&) = delete;
    ServerChild& operator=(const ServerChild&) = delete;

    // Syncs each file before acknowledging it, as a user's server does;
    // call before start().
    void syncEachFile()
    {
        QStringList arguments = m_process.arguments();
        arguments.removeAll(QStringLiteral("--no-sync"));
        m_process.setArguments(arguments);
    }

    // Starts the program through launcher, which gets the program and its
    // arguments as its own; call before start().
    void runThrough(const QString& launcher)
    {
        m_process.setArguments(QStringList{m_process.program()} + m_process.arguments());
        m_process.setProgram(launcher);
    }

    // Starts the program and waits until it says where it listens.
    bool start()
    {
        m_process.start();
        if (!m_process.waitForStarted(10000))
            return false;
        static const QRegularExpression listening(QStringLiteral("listening on [0-9.]+:(\\d+)"));
        QDeadlineTimer deadline(15000);
        QByteArray out;
        while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
            m_process.waitForReadyRead(100);
            out += m_process.readAllStandardOutput();
            const auto match = listening.match(QString::fromUtf8(out));
            if (match.hasMatch()) {
                m_port = match.captured(1).toUShort();
                return true;
            }
        }
        return false;
    }

    quint16 port() const { return m_port; }
    // Processor seconds the process has used so far, user and system; -1
    // when unknown.
    double processorSeconds() const
    {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(m_process.processId()));
        if (!stat.open(QIODevice::ReadOnly))
            return -1;
        // After the name in parentheses: state is field 3, utime 14, stime 15.
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() < 13)
            return -1;
        return double(fields[11].toLongLong() + fields[12].toLongLong()) / ::sysconf(_SC_CLK_TCK);
    }
    qint64 processId() const { return m_process.processId(); }
    bool isRunning() const { return m_process.state() == QProcess::Running; }
    QString root() const { return m_root; }
    // Everything the program wrote to standard error so far.
    QString errorOutput()
    {
        m_errors += m_process.readAllStandardError();
        return QString::fromUtf8(m_errors);
    }

    // The highest resident memory of the process so far, and the resident
    // memory now, in KiB; -1 when unknown.
    long peakMemoryKiB() const { return memoryKiB("VmHWM:"); }
    long residentMemoryKiB() const { return memoryKiB("VmRSS:"); }

private:
    long memoryKiB(const QByteArray& field) const
    {
        QFile status(QStringLiteral("/proc/%1/status").arg(m_process.processId()));
        if (!status.open(QIODevice::ReadOnly))
            return -1;
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith(field))
                return line.mid(field.size()).trimmed().split(' ').first().toLong();
        }
        return -1;
    }

    QTemporaryDir m_dir;
    QString m_root;
    QProcess m_process;
    QByteArray m_errors;
    quint16 m_port = 0;
};

// The partial files anywhere under root, hidden as they are.
inline QStringList partialFilesUnder(const QString& root)
{
    QStringList partials;
    QDirIterator it(root, {".*.partial"}, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        partials << it.next();
    return partials;
}
