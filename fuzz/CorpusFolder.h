#pragma once

#include <QDir>
#include <QFile>

#include <cstdio>
#include <optional>

// The seed corpus folder named on a corpus generator's command line, made
// when missing; nothing (after a message) on a wrong command line.
inline std::optional<QDir> corpusFolder(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return std::nullopt;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return std::nullopt;
    }
    return dir;
}

inline bool writeCorpusFile(const QDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        return false;
    }
    return true;
}
