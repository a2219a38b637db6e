#include "core/IniFile.h"

#include <QList>

namespace kyvane {

namespace {

// One line of the file: where its text starts and ends (terminator excluded)
// and where the next line starts.
struct Line
{
    qsizetype begin;
    qsizetype end;
    qsizetype next;
};

QList<Line> splitLines(const QByteArray& bytes)
{
    QList<Line> lines;
    qsizetype begin = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c != '\r' && c != '\n')
            continue;
        qsizetype next = i + 1;
        if (c == '\r' && next < bytes.size() && bytes.at(next) == '\n')
            ++next;
        lines.append({begin, i, next});
        begin = next;
        i = next - 1;
    }
    if (begin < bytes.size())
        lines.append({begin, bytes.size(), bytes.size()});
    return lines;
}

enum class Kind { Other, Section, Entry };

struct Parsed
{
    Kind kind = Kind::Other;
    bool blank = true; // empty or only white space
    QString name;  // section or key name, trimmed
    QString value; // entry value, trimmed
};

Parsed parseLine(const QByteArray& bytes, const Line& line)
{
    QString text = QString::fromUtf8(bytes.constData() + line.begin, line.end - line.begin);
    if (line.begin == 0 && text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text = text.trimmed();
    Parsed parsed;
    parsed.blank = text.isEmpty();
    if (text.isEmpty() || text.startsWith(QLatin1Char(';')) || text.startsWith(QLatin1Char('#')))
        return parsed;
    if (text.startsWith(QLatin1Char('['))) {
        const qsizetype close = text.indexOf(QLatin1Char(']'));
        if (close > 0) {
            parsed.kind = Kind::Section;
            parsed.name = text.mid(1, close - 1).trimmed();
        }
        return parsed;
    }
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    if (equals < 0)
        return parsed;
    parsed.kind = Kind::Entry;
    parsed.name = text.left(equals).trimmed();
    parsed.value = text.mid(equals + 1).trimmed();
    return parsed;
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The line end the file already uses, so added lines look like the others.
QByteArray lineEndOf(const QByteArray& bytes)
{
    const qsizetype lf = bytes.indexOf('\n');
    const qsizetype cr = bytes.indexOf('\r');
    if (cr >= 0 && (lf < 0 || cr < lf))
        return (cr + 1 < bytes.size() && bytes.at(cr + 1) == '\n') ? "\r\n" : "\r";
    if (lf >= 0)
        return "\n";
    return "\r\n";
}

} // namespace

IniFile::IniFile(QByteArray content) : m_content(std::move(content)) {}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const
{
    // Only the first section of that name counts, as for setValue().
    bool inSection = false;
    bool sectionSeen = false;
    for (const Line& line : splitLines(m_content)) {
        const Parsed parsed = parseLine(m_content, line);
        if (parsed.kind == Kind::Section) {
            if (inSection)
                break;
            inSection = !sectionSeen && sameName(parsed.name, section);
            sectionSeen = sectionSeen || inSection;
        } else if (inSection && parsed.kind == Kind::Entry && sameName(parsed.name, key))
            return parsed.value;
    }
    return std::nullopt;
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value)
{
    const QByteArray lineEnd = lineEndOf(m_content);
    const QByteArray entry = (key + QLatin1Char('=') + value).toUtf8();

    bool inSection = false;
    bool sectionSeen = false;
    qsizetype insertAt = -1; // just after the last non-blank line of the section
    bool insertNeedsLineEnd = false;
    for (const Line& line : splitLines(m_content)) {
        const Parsed parsed = parseLine(m_content, line);
        if (parsed.kind == Kind::Section) {
            if (inSection)
                break; // the wanted section ended without the key
            inSection = !sectionSeen && sameName(parsed.name, section);
            sectionSeen = sectionSeen || inSection;
        } else if (inSection && parsed.kind == Kind::Entry && sameName(parsed.name, key)) {
            m_content.replace(line.begin, line.end - line.begin, entry);
            return;
        }
        if (inSection && !parsed.blank) {
            insertAt = line.next;
            insertNeedsLineEnd = line.next == line.end; // last line without a terminator
        }
    }

    if (sectionSeen) {
        QByteArray added = insertNeedsLineEnd ? lineEnd : QByteArray();
        added += entry + lineEnd;
        m_content.insert(insertAt, added);
        return;
    }

    if (!m_content.isEmpty() && !m_content.endsWith('\n') && !m_content.endsWith('\r'))
        m_content += lineEnd;
    m_content += '[' + section.toUtf8() + ']' + lineEnd + entry + lineEnd;
}

} // namespace kyvane
