// The folder chooser: sub-folders only, in case-blind order, going down and
// up, a vanished row, and what OK and Cancel hand back.

#include "core/PicturesFolder.h"
#include "ui/MessageBox.h"
#include "ui/dialogs/TfrmChooseFolder.h"
#include "ui/widgets/SettingsParts.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

using namespace kyvane;

namespace {

// The chooser over a window of its own, opened with a callback that keeps
// its answer.
struct Chooser
{
    QWidget window;
    TfrmChooseFolder* dialog = new TfrmChooseFolder(&window);
    std::optional<QString> answer;

    Chooser()
    {
        window.resize(358, 570);
        window.show();
        dialog->open([this](const QString& folder) { answer = folder; });
    }

    QLineEdit* path() const { return dialog->findChild<QLineEdit*>("Edit1"); }
    QListWidget* rows() const { return dialog->findChild<QListWidget*>("ListBox1"); }
    QStringList names() const
    {
        QStringList result;
        for (int i = 0; i < rows()->count(); ++i)
            result << rows()->item(i)->text();
        return result;
    }
    void click(const char* name) const
    {
        dialog->findChild<QAbstractButton*>(QString::fromLatin1(name))->click();
    }
    void tapRow(int row) const
    {
        QListWidgetItem* item = rows()->item(row);
        QTest::mouseClick(rows()->viewport(), Qt::LeftButton, Qt::NoModifier,
                          rows()->visualItemRect(item).center());
    }
};

void makeTree(const QString& root, const QStringList& folders)
{
    for (const QString& folder : folders)
        QVERIFY(QDir(root).mkpath(folder));
}

} // namespace

class TestChooseFolder : public QObject
{
    Q_OBJECT

private slots:
    void listsSubFoldersInCaseBlindOrder()
    {
        QTemporaryDir root;
        makeTree(root.path(), {"beta", "Alpha", "alpha2", ".hidden", "beta/deeper"});
        QFile file(root.filePath("a-file.jpg"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        Chooser c;
        c.dialog->TotalWork2(root.path());
        QCOMPARE(c.path()->text(), root.path());
        QCOMPARE(c.names(), (QStringList{".hidden", "Alpha", "alpha2", "beta"}));
        const QListWidgetItem* alpha = c.rows()->item(1);
        QCOMPARE(alpha->data(row::Detail).toString(), root.filePath("Alpha"));
        QCOMPARE(alpha->data(row::TagString).toString(), root.filePath("Alpha"));
        QCOMPARE(alpha->data(row::Tag).toInt(), 0);
        QCOMPARE(alpha->sizeHint().height(), 40);
    }

    void downUpAndOk()
    {
        QTemporaryDir root;
        makeTree(root.path(), {"a/b"});
        Chooser c;
        c.dialog->TotalWork2(root.path());
        c.tapRow(0);
        QCOMPARE(c.path()->text(), root.filePath("a"));
        c.tapRow(0);
        QCOMPARE(c.path()->text(), root.filePath("a/b"));
        // A folder without sub-folders: no rows, and OK still hands it back.
        QCOMPARE(c.rows()->count(), 0);
        c.click("Button3");
        QCOMPARE(c.path()->text(), root.filePath("a"));
        QCOMPARE(c.names(), QStringList{"b"});
        c.click("Button1");
        QVERIFY(c.answer);
        QCOMPARE(*c.answer, root.filePath("a"));
        QVERIFY(!c.dialog->isVisible());
    }

    void upFromTheRootStays()
    {
        Chooser c;
        c.dialog->TotalWork2(QStringLiteral("/"));
        const QStringList top = c.names();
        QVERIFY(top.contains(QStringLiteral("tmp")));
        c.click("Button3");
        QCOMPARE(c.path()->text(), QStringLiteral("/"));
        QCOMPARE(c.names(), top);
    }

    void vanishedRowIsRemoved()
    {
        QTemporaryDir root;
        makeTree(root.path(), {"gone", "stays"});
        Chooser c;
        c.dialog->TotalWork2(root.path());
        QVERIFY(QDir(root.filePath("gone")).removeRecursively());
        c.tapRow(0);
        QCOMPARE(c.names(), QStringList{"stays"});
        QCOMPARE(c.path()->text(), root.path());
    }

    void hiddenGoButton()
    {
        Chooser c;
        c.dialog->TotalWork2(QStringLiteral("/no/such/folder"));
        QCOMPARE(c.rows()->count(), 0);
        MessageBox::setNextAnswer(MessageBox::Answer::Ok);
        c.click("Button4");
        QCOMPARE(MessageBox::lastText(), QStringLiteral("Path not found"));
        QVERIFY(c.dialog->isVisible());
    }

    void cancelAndEveryShowingStartsAtPictures()
    {
        QTemporaryDir root;
        Chooser c;
        QCOMPARE(c.path()->text(), sharedPicturesFolder());
        c.dialog->TotalWork2(root.path());
        c.click("Button2");
        QVERIFY(c.answer);
        QCOMPARE(*c.answer, QString());
        QVERIFY(!c.dialog->isVisible());
        c.dialog->open([](const QString&) {});
        QCOMPARE(c.path()->text(), sharedPicturesFolder());
    }
};

QTEST_MAIN(TestChooseFolder)
#include "tst_choosefolder.moc"
