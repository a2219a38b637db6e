#pragma once

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

// A kyvane-server child process on a free loopback port, with its own root
// folder and transcript, stopped when this object goes.
class ServerProcess
{
public:
    // executable: path of kyvane-server; extra: more command-line options;
    // folder: where the root and transcript go (a temporary folder).
    ServerProcess(const QString& executable, const QStringList& extra = {},
                  const QString& listen = QStringLiteral("127.0.0.1"), const QString& folder = {})
        : m_dir(folder.isEmpty() ? QDir::tempPath() + QStringLiteral("/kyvane-server-XXXXXX")
                                 : folder + QStringLiteral("/kyvane-server-XXXXXX"))
    {
        m_process.setProgram(executable);
        QStringList arguments{"--listen", listen, "--port", "0", "--root", root(),
                              "--account", "anna:secret", "--transcript", transcriptPath()};
        m_process.setArguments(arguments + extra);
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start();
        if (!m_process.waitForStarted(10000))
            return;
        QDeadlineTimer deadline(15000);
        QByteArray out;
        static const QRegularExpression listening(QStringLiteral("listening on ([0-9.]+):(\\d+)"));
        while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
            m_process.waitForReadyRead(100);
            out += m_process.readAllStandardOutput();
            const auto match = listening.match(QString::fromUtf8(out));
            if (match.hasMatch()) {
                m_address = match.captured(1);
                m_port = match.captured(2).toUShort();
                return;
            }
        }
    }

    ~ServerProcess() { stop(); }

    // Ends the server; its root folder stays until this object goes.
    void stop()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

    bool isListening() const { return m_port != 0; }
    QString address() const { return m_address; }
    quint16 port() const { return m_port; }
    QString root() const { return m_dir.path() + QStringLiteral("/root"); }
    QString transcriptPath() const { return m_dir.path() + QStringLiteral("/transcript.txt"); }
    QString errorOutput() { return QString::fromUtf8(m_process.readAllStandardError()); }

    // The protocol lines received so far, each "<connection> <line>" or a
    // connection event.
    QStringList transcript() const
    {
        QFile file(transcriptPath());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    // Received lines that start with word ("helo", "auth", "put", ...).
    int countLines(const QString& word) const
    {
        int count = 0;
        static const QRegularExpression line(QStringLiteral("^\\S+ (\\S+)"));
        for (const QString& entry : transcript()) {
            const auto match = line.match(entry);
            if (match.hasMatch() && match.captured(1) == word)
                ++count;
        }
        return count;
    }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_address;
    quint16 m_port = 0;
};
