#include "ServerCommandLine.h"

#include "SafeName.h"

#include <QFile>

#include <type_traits>

namespace kyvane::server {

namespace {

const QString kListen = QStringLiteral("listen");
const QString kPort = QStringLiteral("port");
const QString kRoot = QStringLiteral("root");
const QString kAccount = QStringLiteral("account");
const QString kAccountsFile = QStringLiteral("accounts-file");
const QString kTranscript = QStringLiteral("transcript");
const QString kNoSync = QStringLiteral("no-sync");
const QString kMaxConnections = QStringLiteral("max-connections");
const QString kLoginTimeout = QStringLiteral("login-timeout");
const QString kIdleTimeout = QStringLiteral("idle-timeout");
const QString kTakeoverAfter = QStringLiteral("takeover-after");
const QString kPartialMaxAge = QStringLiteral("partial-max-age");
const QString kRefuseHelo = QStringLiteral("refuse-helo");
const QString kRefuseAuth = QStringLiteral("refuse-auth");
const QString kCloseAfterBytes = QStringLiteral("close-after-bytes");
const QString kNoAck = QStringLiteral("no-ack");
const QString kCloseInsteadOfAck = QStringLiteral("close-instead-of-ack");
const QString kGreeting = QStringLiteral("greeting");
const QString kChunkDelayMs = QStringLiteral("chunk-delay-ms");
const QString kPutReply = QStringLiteral("put-reply");
const QString kFlushDelayMs = QStringLiteral("flush-delay-ms");

constexpr double kDaySeconds = 86400;

QString seconds(qint64 milliseconds)
{
    return QString::number(milliseconds / 1000.0);
}

// Seconds, with a fraction if wanted ("0.5"), as milliseconds: at least 1 ms,
// at most maxSeconds.
bool parseSeconds(const QString& text, double maxSeconds, qint64* milliseconds)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !(value >= 0.001 && value <= maxSeconds))
        return false;
    *milliseconds = qint64(value * 1000 + 0.5);
    return true;
}

} // namespace

ServerCommandLine::ServerCommandLine()
{
    m_parser.setApplicationDescription(QStringLiteral(
        "Receives backups from Kyvane clients and stores them under ROOT/<account>/."));
    m_parser.addHelpOption();
    m_parser.addOptions({
        {kListen, QStringLiteral("Address to listen on (default 127.0.0.1)."),
         QStringLiteral("ADDRESS")},
        {kPort, QStringLiteral("Port to listen on; 0 for any free port (default 25714)."),
         QStringLiteral("N")},
        {kRoot, QStringLiteral("Folder that receives the files (default ./kyvane-backups)."),
         QStringLiteral("DIR")},
        {kAccount, QStringLiteral("An account that may log in; may be repeated."),
         QStringLiteral("NAME:PASSWORD")},
        {kAccountsFile, QStringLiteral("A file of NAME:PASSWORD lines."), QStringLiteral("FILE")},
        {kTranscript,
         QStringLiteral("Append every received protocol line and connection event to FILE."),
         QStringLiteral("FILE")},
        {kNoSync, QStringLiteral("Acknowledge files without waiting for them to reach the "
                                 "disk (faster, for benchmarks).")},
        {kMaxConnections,
         QStringLiteral("Most connections open at once; more are closed at once (default %1).")
             .arg(ServerOptions::kDefaultMaxConnections),
         QStringLiteral("N")},
        {kLoginTimeout,
         QStringLiteral("Close a connection that has not logged in after S seconds (default %1).")
             .arg(seconds(ServerOptions::kDefaultLoginTimeoutMs)),
         QStringLiteral("S")},
        {kIdleTimeout,
         QStringLiteral("Close a logged-in connection silent for S seconds (default %1).")
             .arg(seconds(ServerOptions::kDefaultIdleTimeoutMs)),
         QStringLiteral("S")},
        {kTakeoverAfter,
         QStringLiteral("Let a new upload of a file resume from the partial file of a "
                        "connection that has sent nothing for S seconds, closing that "
                        "connection (default %1).")
             .arg(seconds(ServerOptions::kDefaultTakeoverAfterMs)),
         QStringLiteral("S")},
        {kPartialMaxAge,
         QStringLiteral("Remove partial files of unfinished uploads that nobody has written to "
                        "for S seconds; looked for at the start and once a day (default %1, "
                        "7 days).")
             .arg(seconds(ServerOptions::kDefaultPartialMaxAgeMs)),
         QStringLiteral("S")},
        {kRefuseHelo, QStringLiteral("Test fault: refuse every helo line.")},
        {kRefuseAuth, QStringLiteral("Test fault: refuse every login.")},
        {kCloseAfterBytes,
         QStringLiteral("Test fault: close a connection once it has received N file bytes."),
         QStringLiteral("N")},
        {kNoAck, QStringLiteral("Test fault: store files but never acknowledge them.")},
        {kCloseInsteadOfAck,
         QStringLiteral("Test fault: keep a received file as partial and close the connection "
                        "instead of acknowledging it.")},
        {kGreeting, QStringLiteral("Test fault: greet with TEXT instead of the usual greeting."),
         QStringLiteral("TEXT")},
        {kChunkDelayMs, QStringLiteral("Test fault: pause N ms after every 819200 bytes received."),
         QStringLiteral("N")},
        {kPutReply, QStringLiteral("Test fault: answer every put line with TEXT."),
         QStringLiteral("TEXT")},
        {kFlushDelayMs,
         QStringLiteral("Test fault: each received file takes N ms longer to flush to disk."),
         QStringLiteral("N")},
    });
}

bool ServerCommandLine::fail(const QString& error)
{
    m_error = error;
    return false;
}

bool ServerCommandLine::readInt(const QString& name, int minimum, int* value, const char* problem)
{
    if (!m_parser.isSet(name))
        return true;
    bool ok = false;
    const int number = m_parser.value(name).toInt(&ok);
    if (!ok || number < minimum)
        return fail(QString::fromLatin1(problem) + m_parser.value(name));
    *value = number;
    return true;
}

bool ServerCommandLine::parse(const QStringList& arguments)
{
    m_options = ServerOptions();
    if (!m_parser.parse(arguments))
        return fail(m_parser.errorText());
    m_helpRequested = m_parser.isSet(QStringLiteral("help"));
    if (!m_parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument: ") +
                    m_parser.positionalArguments().first());

    if (m_parser.isSet(kListen)) {
        const QString text = m_parser.value(kListen);
        m_options.listenAddress = text == QLatin1String("localhost")
                                      ? QHostAddress(QHostAddress::LocalHost)
                                      : QHostAddress(text);
        if (m_options.listenAddress.isNull())
            return fail(QStringLiteral("not an address: ") + text);
    }
    if (m_parser.isSet(kPort)) {
        bool ok = false;
        const uint port = m_parser.value(kPort).toUInt(&ok);
        if (!ok || port > 65535)
            return fail(QStringLiteral("not a port: ") + m_parser.value(kPort));
        m_options.port = quint16(port);
    }
    if (m_parser.isSet(kRoot)) {
        m_options.root = m_parser.value(kRoot);
        if (m_options.root.isEmpty())
            return fail(QStringLiteral("the root folder is empty"));
    }
    for (const QString& nameAndPassword : m_parser.values(kAccount)) {
        if (!addAccount(nameAndPassword, m_options.accounts, &m_error))
            return false;
    }
    for (const QString& path : m_parser.values(kAccountsFile)) {
        if (!readAccountsFile(path, m_options.accounts, &m_error))
            return false;
    }
    m_options.transcriptPath = m_parser.value(kTranscript);

    m_options.syncFiles = !m_parser.isSet(kNoSync);
    if (!readInt(kMaxConnections, 1, &m_options.maxConnections, "not a connection count: "))
        return false;
    const auto readSeconds = [this](const QString& name, double maxSeconds, auto* target) {
        if (!m_parser.isSet(name))
            return true;
        qint64 milliseconds = 0;
        if (!parseSeconds(m_parser.value(name), maxSeconds, &milliseconds))
            return fail(QStringLiteral("not a number of seconds for --%1: %2")
                            .arg(name, m_parser.value(name)));
        *target = std::remove_pointer_t<decltype(target)>(milliseconds);
        return true;
    };
    if (!readSeconds(kLoginTimeout, kDaySeconds, &m_options.loginTimeoutMs) ||
        !readSeconds(kIdleTimeout, kDaySeconds, &m_options.idleTimeoutMs) ||
        !readSeconds(kTakeoverAfter, kDaySeconds, &m_options.takeoverAfterMs) ||
        !readSeconds(kPartialMaxAge, 3650 * kDaySeconds, &m_options.partialMaxAgeMs))
        return false;
    m_options.refuseHelo = m_parser.isSet(kRefuseHelo);
    m_options.refuseAuth = m_parser.isSet(kRefuseAuth);
    m_options.noAck = m_parser.isSet(kNoAck);
    m_options.closeInsteadOfAck = m_parser.isSet(kCloseInsteadOfAck);
    if (m_parser.isSet(kCloseAfterBytes)) {
        bool ok = false;
        m_options.closeAfterBytes = m_parser.value(kCloseAfterBytes).toLongLong(&ok);
        if (!ok || m_options.closeAfterBytes < 0)
            return fail(QStringLiteral("not a byte count: ") + m_parser.value(kCloseAfterBytes));
    }
    if (!readInt(kChunkDelayMs, 0, &m_options.chunkDelayMs, "not a delay: ") ||
        !readInt(kFlushDelayMs, 0, &m_options.flushDelayMs, "not a delay: "))
        return false;
    if (m_parser.isSet(kGreeting))
        m_options.greeting = m_parser.value(kGreeting);
    if (m_parser.isSet(kPutReply))
        m_options.putReply = m_parser.value(kPutReply);
    return true;
}

bool ServerCommandLine::addAccount(const QString& nameAndPassword,
                                   QHash<QString, QString>& accounts, QString* error)
{
    const qsizetype colon = nameAndPassword.indexOf(QLatin1Char(':'));
    const QString name = nameAndPassword.left(colon);
    QString why;
    if (colon < 0) {
        why = QStringLiteral("expected NAME:PASSWORD");
    } else if (safename::isSafeAccountName(name, &why)) {
        accounts.insert(name, nameAndPassword.mid(colon + 1));
        return true;
    }
    if (error)
        *error = QStringLiteral("account \"%1\" cannot be used: %2").arg(name, why);
    return false;
}

bool ServerCommandLine::readAccountsFile(const QString& path, QHash<QString, QString>& accounts,
                                         QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        if (error)
            *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    int number = 0;
    while (!file.atEnd()) {
        ++number;
        QString line = QString::fromUtf8(file.readLine());
        while (line.endsWith(QLatin1Char('\n')) || line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (number == 1 && line.startsWith(QChar(0xFEFF)))
            line.remove(0, 1);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        QString why;
        if (!addAccount(line, accounts, &why)) {
            if (error)
                *error = QStringLiteral("%1 line %2: %3").arg(path).arg(number).arg(why);
            return false;
        }
    }
    return true;
}

} // namespace kyvane::server
