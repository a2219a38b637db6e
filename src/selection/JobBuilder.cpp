#include "selection/JobBuilder.h"

#include "core/StorableName.h"
#include "selection/FolderReader.h"

#include <QFile>
#include <QSet>

#include <cstdio>
#include <ctime>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace kyvane {

namespace {

using std::chrono::nanoseconds;
using std::chrono::system_clock;

void lowerAscii(std::string& text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
}

// Whether an entry of comma text must be quoted: it holds a blank, a control
// character, a comma or a double quote.
bool needsQuotes(const QString& entry)
{
    for (const QChar c : entry) {
        if (c.unicode() <= 32 || c == QLatin1Char(',') || c == QLatin1Char('"'))
            return true;
    }
    return false;
}

QString commaText(const QStringList& entries)
{
    if (entries.size() == 1 && entries.first().isEmpty())
        return QStringLiteral("\"\"");
    QStringList parts;
    parts.reserve(entries.size());
    for (const QString& entry : entries) {
        if (needsQuotes(entry)) {
            QString quoted = entry;
            quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
            parts.append(QLatin1Char('"') + quoted + QLatin1Char('"'));
        } else {
            parts.append(entry);
        }
    }
    return parts.join(QLatin1Char(','));
}

// The local day of a moment as "YYYY/MM/DD".
std::string dayForm(std::time_t seconds)
{
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday);
    return text;
}

nanoseconds modificationTime(const struct stat& info)
{
    return std::chrono::seconds(info.st_mtim.tv_sec) + nanoseconds(info.st_mtim.tv_nsec);
}

// The date test of one scan, on a file's modification time.
class DateTest
{
public:
    DateTest(const ScanRequest& request, const ScanClock& clock)
        : m_kind(request.kind), m_start(request.startdate.toStdString()),
          m_end(request.enddate.toStdString()), m_clock(clock)
    {
    }

    bool passes(const struct stat& info) const
    {
        switch (m_kind) {
        case ScanRequest::Kind::Today:
            // Now is read anew for every file, so a scan across midnight
            // compares each file with the day it is looked at.
            return dayForm(info.st_mtim.tv_sec) == dayForm(system_clock::to_time_t(m_clock()));
        case ScanRequest::Kind::FiveDays: {
            // A rolling 120 hours, not five calendar days; the future passes.
            const nanoseconds age = m_clock().time_since_epoch() - modificationTime(info);
            return age <= std::chrono::hours(5 * 24);
        }
        case ScanRequest::Kind::DateRange: {
            const std::string day = dayForm(info.st_mtim.tv_sec);
            return m_start <= day && day <= m_end;
        }
        }
        return false;
    }

private:
    ScanRequest::Kind m_kind;
    std::string m_start;
    std::string m_end;
    const ScanClock& m_clock;
};

// The extension test: the file name from its last "." on, ASCII lower-cased,
// must be found anywhere in the target text.
bool hasMediaExtension(std::string_view name, std::string_view targetExt)
{
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    std::string extension(name.substr(dot));
    lowerAscii(extension);
    return targetExt.find(extension) != std::string_view::npos;
}

// Lists the files of one folder (not its sub-folders) that pass the tests,
// calling take with each one's full path, or passOver when that path cannot
// be stored in a job. False when the folder cannot be listed. A file that
// vanishes while the folder is listed is passed over silently.
template <typename Take, typename PassOver>
bool scanFolder(const QString& folder, std::string_view targetExt, const DateTest& dateTest,
                Take&& take, PassOver&& passOver)
{
    const QByteArray encoded = QFile::encodeName(folder);
    FolderReader reader(encoded);
    if (!reader.isOpen())
        return false;
    std::string prefix(encoded.constData(), static_cast<size_t>(encoded.size()));
    if (prefix.empty() || prefix.back() != '/')
        prefix.push_back('/');

    std::string path;
    while (const dirent* entry = reader.next()) {
        const std::string_view name(entry->d_name);
        if (entry->d_type == DT_DIR || !hasMediaExtension(name, targetExt))
            continue;
        path.assign(prefix).append(name);
        if (path.find(".trashed") != std::string::npos)
            continue;
        // One status read per candidate, following links: a link to a file
        // counts as that file.
        struct stat info;
        if (!reader.status(entry->d_name, info) || !S_ISREG(info.st_mode))
            continue;
        if (!dateTest.passes(info))
            continue;
        if (StorableName::isStorable(path))
            take(path);
        else
            passOver(path);
    }
    return true;
}

} // namespace

JobBuilder::JobBuilder(ScanClock clock) : m_clock(std::move(clock)) {}

QString JobBuilder::targetExt(const QStringList& extensions)
{
    std::string text = commaText(extensions).toStdString();
    lowerAscii(text);
    return QString::fromStdString(text) + QLatin1Char(',');
}

bool JobBuilder::passesNameTests(const QString& path, const QString& targetExt)
{
    const QByteArray encoded = QFile::encodeName(path);
    const std::string_view whole(encoded.constData(), std::size_t(encoded.size()));
    const std::string target = targetExt.toStdString();
    return hasMediaExtension(whole.substr(whole.rfind('/') + 1), target) &&
           whole.find(".trashed") == std::string_view::npos;
}

bool JobBuilder::isCameraFolder(const QString& folder)
{
    std::string tail = folder.right(12).toStdString();
    lowerAscii(tail);
    return tail == "/dcim/camera";
}

ScanRequest JobBuilder::dateRangeFromAnswer(const QString& answer)
{
    ScanRequest request;
    request.kind = ScanRequest::Kind::DateRange;
    const qsizetype dash = answer.indexOf(QLatin1Char('-'));
    if (dash < 0) {
        request.startdate = answer;
        request.enddate = answer;
    } else {
        request.startdate = answer.left(dash).trimmed();
        request.enddate = answer.mid(dash + 1).trimmed();
    }
    return request;
}

namespace {

// The files a scan passes over, once each however many servers and folder
// listings name them; a set keeps a folder of thousands of bad names cheap.
class PassedOverFiles
{
public:
    explicit PassedOverFiles(QStringList& list) : m_list(list) {}

    void note(const std::string& path)
    {
        const QString shown = StorableName::printable(QFile::decodeName(path.c_str()));
        if (!m_seen.contains(shown)) {
            m_seen.insert(shown);
            m_list.append(shown);
        }
    }

private:
    QStringList& m_list;
    QSet<QString> m_seen;
};

void notePassedOverFolder(QStringList& passedOver, const QString& folder)
{
    if (!passedOver.contains(folder))
        passedOver.append(folder);
}

} // namespace

ScanResult JobBuilder::scan(const ScanRequest& request, const AppLists& lists) const
{
    ScanResult result;
    PassedOverFiles passedOverFiles(result.passedOverFiles);
    const std::string target = targetExt(lists.extensions).toStdString();
    const DateTest dateTest(request, m_clock);
    for (const QString& server : lists.servers) {
        const QString entryStart = server + QLatin1Char('|');
        for (const QString& folder : lists.folders) {
            if (isCameraFolder(folder))
                continue;
            const bool listed = scanFolder(
                folder, target, dateTest,
                [&](const std::string& path) {
                    result.entries.append(entryStart + QFile::decodeName(path.c_str()));
                },
                [&](const std::string& path) { passedOverFiles.note(path); });
            if (!listed)
                notePassedOverFolder(result.passedOver, folder);
        }
    }
    return result;
}

int JobBuilder::GetTodayFileCount(const AppLists& lists) const
{
    return countToday(lists).count;
}

TodayCount JobBuilder::countToday(const AppLists& lists) const
{
    const std::string target = targetExt(lists.extensions).toStdString();
    const DateTest today(ScanRequest{}, m_clock);
    TodayCount result;
    PassedOverFiles passedOverFiles(result.passedOverFiles);
    for (const QString& folder : lists.folders) {
        if (isCameraFolder(folder))
            continue;
        const bool listed = scanFolder(
            folder, target, today, [&result](const std::string&) { ++result.count; },
            [&passedOverFiles](const std::string& path) { passedOverFiles.note(path); });
        if (!listed)
            notePassedOverFolder(result.passedOver, folder);
    }
    return result;
}

} // namespace kyvane
