#pragma once

#include "core/ProgramFolder.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// A fresh, empty program folder for one test, removed afterwards.
class TempProgramFolder
{
public:
    TempProgramFolder()
    {
        QVERIFY2(m_dir.isValid(), qPrintable(m_dir.errorString()));
        kyvane::ProgramFolder::setForTesting(m_dir.path());
    }

    QString path() const { return kyvane::ProgramFolder::path(); }
    QString file(const QString& name) const { return kyvane::ProgramFolder::file(name); }

    void write(const QString& name, const QByteArray& content) const
    {
        QFile f(file(name));
        QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(f.errorString()));
        QCOMPARE(f.write(content), content.size());
    }

    QByteArray read(const QString& name) const
    {
        QFile f(file(name));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return f.readAll();
    }

    bool exists(const QString& name) const { return QFile::exists(file(name)); }

    void makeFolder(const QString& name) const { QVERIFY(QDir(path()).mkpath(name)); }

private:
    QTemporaryDir m_dir;
};
