#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QtTest>

#include <chrono>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Folders and files made for one scan test, with modification times set to
// the second. Times are local times of the zone the test sets with TZ.
class ScanFixture
{
public:
    using TimePoint = std::chrono::system_clock::time_point;

    ScanFixture() { QVERIFY(m_dir.isValid()); }

    QString path(const QString& relative) const { return m_dir.filePath(relative); }

    QString folder(const QString& relative) const
    {
        const QString full = path(relative);
        if (!QDir().mkpath(full))
            qFatal("cannot make fixture folder");
        return full;
    }

    // Writes a small file modified at time; returns its full path.
    QString file(const QString& relative, TimePoint modified) const
    {
        return QFile::decodeName(rawFile(QFile::encodeName(relative), modified));
    }

    // The same for a name given as the file system holds it, any bytes but
    // "/" and NUL; returns its full path in those bytes.
    QByteArray rawFile(const QByteArray& relative, TimePoint modified) const
    {
        const QByteArray full = QFile::encodeName(m_dir.path()) + '/' + relative;
        const int fd = ::open(full.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0 || ::write(fd, "x", 1) != 1 || ::close(fd) != 0)
            qFatal("cannot write fixture file");
        const auto seconds =
            std::chrono::duration_cast<std::chrono::seconds>(modified.time_since_epoch());
        const timespec times[2] = {{seconds.count(), 0}, {seconds.count(), 0}};
        if (utimensat(AT_FDCWD, full.constData(), times, 0) != 0)
            qFatal("cannot set fixture file time");
        return full;
    }

    // The moment of a local time in the zone set with TZ.
    static TimePoint local(int year, int month, int day, int hour = 12, int minute = 0,
                           int second = 0)
    {
        std::tm t{};
        t.tm_year = year - 1900;
        t.tm_mon = month - 1;
        t.tm_mday = day;
        t.tm_hour = hour;
        t.tm_min = minute;
        t.tm_sec = second;
        t.tm_isdst = -1;
        return std::chrono::system_clock::from_time_t(std::mktime(&t));
    }

    // Uses a zone with daylight saving time for the whole test process.
    static void useZoneWithDaylightSaving()
    {
        qputenv("TZ", "Europe/Berlin");
        tzset();
    }

private:
    QTemporaryDir m_dir;
};
