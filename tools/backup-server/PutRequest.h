#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace kyvane::server {

// One "put <size> <base64-name> <created> <modified> <captured>" line.
struct PutRequest
{
    qint64 size = 0;
    QString name;       // decoded and checked to be a safe file name
    QDateTime created;  // UTC; invalid for "none"
    QDateTime modified; // UTC; invalid for "none"
    QString captured;   // as sent: "YYYY/MM/DD;hh:mm:ss" or "none"

    // The line after "put " split and checked field by field; nothing (with
    // the reason in *why) when any field is out of form.
    static std::optional<PutRequest> parse(const QString& arguments, QString* why = nullptr);
};

} // namespace kyvane::server
