#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace kyvane {

// A small editor for classic INI text: "[section]" lines followed by
// "key=value" lines. Section and key names match without regard to letter
// case. Editing changes one line (or adds one) and keeps every other byte of
// the file as it was, comments and unknown sections included.
class IniFile
{
public:
    explicit IniFile(QByteArray content = {});

    // The value of key in section, trimmed; nothing when either is missing.
    std::optional<QString> value(const QString& section, const QString& key) const;

    // Sets key in section: replaces the first matching entry line, or adds the
    // entry at the end of the section, or adds the section at the end.
    void setValue(const QString& section, const QString& key, const QString& value);

    QByteArray content() const { return m_content; }

private:
    QByteArray m_content;
};

} // namespace kyvane
