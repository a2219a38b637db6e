#include "core/ProgramFolder.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace kyvane;

namespace {

using Kind = ProgramFolder::Kind;

// Runs a copy of a probe from workDir with the given environment changes (an
// empty value removes the variable) and returns the program folder it printed.
QString runProbe(const QString& probe, const QString& workDir,
                 const QHash<QString, QString>& environment = {})
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (auto it = environment.cbegin(); it != environment.cend(); ++it) {
        if (it.value().isEmpty())
            env.remove(it.key());
        else
            env.insert(it.key(), it.value());
    }
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(workDir);
    process.start(probe, {});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QStringLiteral("<probe failed: %1>")
            .arg(QString::fromUtf8(process.readAllStandardError()));
    return QString::fromUtf8(process.readAllStandardOutput());
}

// A copy of a probe in a folder of its own, as an installed or copied program.
QString copyProbe(const QString& from, const QString& folder)
{
    if (!QDir().mkpath(folder))
        return {};
    const QString to = folder + "/probe";
    return QFile::copy(from, to) ? to : QString();
}

// The permission bits of a path itself, not of what a link leads to.
mode_t modeOf(const QString& path)
{
    struct stat info;
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return mode_t(-1);
    return info.st_mode & 07777;
}

QString canonical(const QString& folder)
{
    return QFileInfo(folder).canonicalFilePath() + "/";
}

} // namespace

class TestProgramFolder : public QObject
{
    Q_OBJECT

private slots:
    void oneTrailingSeparator_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << "/opt/kyvane"
                               << "/opt/kyvane/";
        QTest::newRow("has one") << "/opt/kyvane/"
                                 << "/opt/kyvane/";
        QTest::newRow("has two") << "/opt/kyvane//"
                                 << "/opt/kyvane/";
        QTest::newRow("root") << "/"
                              << "/";
        QTest::newRow("blank in name") << "/opt/my apps"
                                       << "/opt/my apps/";
    }

    void oneTrailingSeparator()
    {
        QFETCH(QString, folder);
        QFETCH(QString, expected);
        QCOMPARE(ProgramFolder::withOneTrailingSeparator(folder), expected);
    }

    void folderForKind_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("executableFolder");
        QTest::addColumn<QString>("dataFolder");
        QTest::addColumn<QString>("expected");
        const QString data = "/home/ann/.local/share";
        QTest::newRow("build folder") << Kind::ExecutableFolder << "/home/ann/kyvane/build" << data
                                      << "/home/ann/kyvane/build/";
        QTest::newRow("copied executable in root") << Kind::ExecutableFolder << "/" << data << "/";
        QTest::newRow("installed")
            << Kind::PerUser << "/usr/bin" << data << "/home/ann/.local/share/kyvane/";
        QTest::newRow("installed, data folder ends in /") << Kind::PerUser << "/usr/bin"
                                                          << "/home/ann/.local/share/"
                                                          << "/home/ann/.local/share/kyvane/";
        QTest::newRow("installed, data folder is root") << Kind::PerUser << "/usr/bin"
                                                        << "/"
                                                        << "/kyvane/";
    }

    void folderForKind()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, executableFolder);
        QFETCH(QString, dataFolder);
        QFETCH(QString, expected);
        QCOMPARE(ProgramFolder::folderFor(kind, executableFolder, dataFolder), expected);
    }

    // A copy run from its own folder keeps its files there, wherever it is
    // started from, and makes no folder in the user's data folder.
    void copyUsesFolderOfExecutable()
    {
        QTemporaryDir installDir;
        QTemporaryDir workDir;
        QTemporaryDir dataDir;
        QVERIFY(installDir.isValid() && workDir.isValid() && dataDir.isValid());
        const QString programFolder = installDir.path() + "/Kyvane Photos";
        const QString probe = copyProbe(PROBE_PATH, programFolder);
        QVERIFY(!probe.isEmpty());

        QCOMPARE(runProbe(probe, workDir.path(), {{"XDG_DATA_HOME", dataDir.path()}}),
                 canonical(programFolder));
        QVERIFY(QDir(dataDir.path()).isEmpty());
    }

    // The installed copy keeps each user's files under the XDG data location,
    // never beside the shared executable nor in the working folder. The folder
    // is made on first start, readable by its owner only (server.cfg holds
    // password digests).
    void installedCopyUsesPerUserFolder_data()
    {
        // XDG_DATA_HOME as set ("" unsets it; a leading "/" is inside the test's
        // root folder), and the data folder expected under that root.
        QTest::addColumn<QString>("xdgDataHome");
        QTest::addColumn<QString>("expectedDataHome");
        QTest::newRow("XDG_DATA_HOME set") << "/data home"
                                           << "/data home";
        QTest::newRow("XDG_DATA_HOME unset") << ""
                                             << "/home/.local/share";
        // A relative one would put the folder in the working folder.
        QTest::newRow("XDG_DATA_HOME relative") << "data"
                                                << "/home/.local/share";
    }

    void installedCopyUsesPerUserFolder()
    {
        QFETCH(QString, xdgDataHome);
        QFETCH(QString, expectedDataHome);
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QString home = root.path() + "/home";
        const QString work = root.path() + "/work";
        QVERIFY(QDir().mkpath(home) && QDir().mkpath(work));
        const QString bin = root.path() + "/usr/bin";
        const QString probe = copyProbe(PER_USER_PROBE_PATH, bin);
        QVERIFY(!probe.isEmpty());
        if (xdgDataHome.startsWith('/'))
            xdgDataHome.prepend(root.path());
        const QHash<QString, QString> env{{"HOME", home}, {"XDG_DATA_HOME", xdgDataHome}};

        // Whatever the umask: the folder never exists with wider permissions.
        const mode_t umaskBefore = ::umask(0);
        const QString printed = runProbe(probe, work, env);
        ::umask(umaskBefore);
        const QString expected = root.path() + expectedDataHome + "/kyvane/";
        QCOMPARE(printed, expected);
        QVERIFY(QFileInfo(expected).isDir());
        QCOMPARE(modeOf(expected), mode_t(0700));
        QCOMPARE(QDir(bin).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList{"probe"});
        QVERIFY(QDir(work).isEmpty());

        // The next start finds the same folder with its files.
        QFile cfg(expected + "server.cfg");
        QVERIFY(cfg.open(QIODevice::WriteOnly));
        cfg.close();
        QCOMPARE(runProbe(probe, work, env), expected);
        QVERIFY(cfg.exists());
    }

    // At every start the per-user folder is made the user's own again: one
    // that others may enter is tightened to its owner alone; a symbolic link
    // or another user's folder is refused and left exactly as it is.
    void existingPerUserFolderAtStart_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("refusal"); // empty: used
        QTest::newRow("others may read") << "folder" << 0755 << "";
        QTest::newRow("others may write") << "folder" << 0777 << "";
        QTest::newRow("group may read") << "folder" << 0750 << "";
        QTest::newRow("private already") << "folder" << 0700 << "";
        QTest::newRow("symbolic link to a folder") << "link" << 0755 << "refused: link";
        QTest::newRow("another user's folder") << "foreign" << 0755 << "refused: not owned";
    }

    void existingPerUserFolderAtStart()
    {
        QFETCH(QString, kind);
        QFETCH(int, mode);
        QFETCH(QString, refusal);
        QTemporaryDir dataDir;
        QTemporaryDir work;
        QVERIFY(dataDir.isValid() && work.isValid());
        const QString folder = dataDir.path() + "/kyvane";
        const QString target = dataDir.path() + "/elsewhere";
        const QString made = kind == "link" ? target : folder;
        QVERIFY(QDir().mkpath(made));
        QVERIFY(::chmod(QFile::encodeName(made).constData(), mode_t(mode)) == 0);
        if (kind == "link")
            QVERIFY(QFile::link(target, folder));
        if (kind == "foreign" && ::chown(QFile::encodeName(folder).constData(), 65534, 65534) != 0)
            QSKIP("only root can give a folder to another user");
        const QString probe = copyProbe(PER_USER_PROBE_PATH, dataDir.path() + "/bin");
        QVERIFY(!probe.isEmpty());

        const QString printed = runProbe(probe, work.path(), {{"XDG_DATA_HOME", dataDir.path()}});
        if (refusal.isEmpty()) {
            QCOMPARE(printed, folder + "/");
            QCOMPARE(modeOf(folder), mode_t(0700));
        } else {
            QCOMPARE(printed, "<probe failed: " + refusal + ">");
            QCOMPARE(modeOf(made), mode_t(mode));
            QCOMPARE(QFileInfo(folder).isSymLink(), kind == "link");
        }
        QVERIFY(QDir(work.path()).isEmpty());
    }

    void filesAreNamedInTheFolder()
    {
        ProgramFolder::setForTesting("/tmp/kyvane-test");
        QCOMPARE(ProgramFolder::path(), QStringLiteral("/tmp/kyvane-test/"));
        QCOMPARE(ProgramFolder::file("server.cfg"), QStringLiteral("/tmp/kyvane-test/server.cfg"));
        ProgramFolder::fix(); // the test folder holds until the end
        QCOMPARE(ProgramFolder::path(), QStringLiteral("/tmp/kyvane-test/"));
    }
};

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "tst_programfolder.moc"
