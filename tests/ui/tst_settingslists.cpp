// The general settings, backup folders and file extensions screens: rows,
// Add and Delete, the files they rewrite byte for byte, the folder chooser
// as a way to add a folder, and a list file that cannot be written.

#include "FileSizeLimit.h"
#include "SettingsTestHelpers.h"
#include "core/AppLists.h"
#include "ui/FolderDialog.h"
#include "ui/MessageBox.h"
#include "ui/dialogs/TfrmChooseFolder.h"
#include "ui/dialogs/TfrmInputExt.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

using namespace kyvane;

namespace {

const QStringList kFolders{"/home/anna/Pictures", QString::fromUtf8("/media/card/Фото"),
                           "/srv/photos"};

// A window on the general settings screen.
struct General : SettingsWindow
{
    explicit General(const Files& files) : SettingsWindow(files)
    {
        QTest::mouseClick(control(*form, "rectSetup"), Qt::LeftButton);
        clickRow(list("ListBox3"), 0);
    }

    // Opens the folders (row 1) or extensions (row 2) screen.
    QListWidget* openRow(int row)
    {
        clickRow(list("ListBox4"), row);
        return list(row == 1 ? "ListBox5" : "ListBox6");
    }

    void click(const char* name) const
    {
        control<QAbstractButton>(*form, QString::fromLatin1(name))->click();
    }
};

} // namespace

class TestSettingsLists : public QObject
{
    Q_OBJECT

private slots:
    void generalSettingsRows()
    {
        General w({});
        QCOMPARE(w.form->currentTabIndex(), int(TForm1::GeneralSettings));
        QListWidget* rows = w.list("ListBox4");
        QCOMPARE(texts(rows),
                 (QStringList{"Language", "Which Folders to backup", "Which File Ext to backup"}));
        QCOMPARE(tags(rows), (QList<int>{2, 0, 1}));
        QCOMPARE(rows->item(0)->data(row::Detail).toString(), QStringLiteral("English"));
        QCOMPARE(rows->item(0)->data(row::Name).toString(), QStringLiteral("language"));
    }

    void openingListScreens_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("screen");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("folders") << 1 << int(TForm1::BackupFolders) << kFolders;
        QTest::newRow("extensions, defaults without FileExt.cfg")
            << 2 << int(TForm1::FileExtensions) << AppLists::defaultExtensions();
    }

    void openingListScreens()
    {
        QFETCH(int, row);
        QFETCH(int, screen);
        QFETCH(QStringList, entries);
        General w({{"folder.cfg", listBytes(kFolders)}});
        QListWidget* rows = w.openRow(row);
        QCOMPARE(w.form->currentTabIndex(), screen);
        QCOMPARE(w.form->navMarkerValue(), int(TForm1::GeneralSettings));
        QCOMPARE(texts(rows), entries);
        QCOMPARE(tags(rows).last(), entries.size() - 1);
        const QListWidgetItem* item = rows->item(0);
        QCOMPARE(item->checkState(), Qt::Unchecked);
        QVERIFY(item->flags() & Qt::ItemIsUserCheckable);
        QCOMPARE(item->foreground().color(), QColor(0xFF0000FFu));
        QCOMPARE(item->sizeHint().height(), 40);
        QCOMPARE(item->font().pixelSize(), 18);
        QVERIFY(!item->data(row::More).toBool());
    }

    void addingFolder_data()
    {
        QTest::addColumn<QString>("chosen"); // empty: cancelled
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("new folder") << "/data/new" << kFolders + QStringList{"/data/new"};
        QTest::newRow("a folder already listed, listed twice")
            << kFolders.at(0) << kFolders + QStringList{kFolders.at(0)};
        QTest::newRow("cancel writes nothing") << QString() << kFolders;
    }

    void addingFolder()
    {
        QFETCH(QString, chosen);
        QFETCH(QStringList, stored);
        // folder.cfg as another tool wrote it: no BOM, LF. A write shows as
        // the program's own format.
        General w({{"folder.cfg", kFolders.join('\n').toUtf8()}});
        QListWidget* rows = w.openRow(1);
        FolderDialog::setNextAnswer(chosen);
        w.click("btnAddFolder");
        QCOMPARE(FolderDialog::lastTitle(), QStringLiteral("Select Folder"));
        QCOMPARE(w.form->lists().folders, stored);
        QCOMPARE(texts(rows), stored);
        QCOMPARE(w.folder.read("folder.cfg"),
                 chosen.isEmpty() ? kFolders.join('\n').toUtf8() : listBytes(stored));
    }

    void deletingChecked_data()
    {
        QTest::addColumn<int>("screenRow");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QList<int>>("checked");
        QTest::addColumn<QStringList>("kept");
        const QStringList exts{".jpg", ".heic", ".mp4"};
        QTest::newRow("folders, first and last")
            << 1 << "folder.cfg" << kFolders << QList<int>{0, 2} << QStringList{kFolders.at(1)};
        QTest::newRow("folders, all: BOM only")
            << 1 << "folder.cfg" << kFolders << QList<int>{0, 1, 2} << QStringList();
        QTest::newRow("folders, none checked: rewritten unchanged")
            << 1 << "folder.cfg" << kFolders << QList<int>{} << kFolders;
        QTest::newRow("extensions, middle")
            << 2 << "FileExt.cfg" << exts << QList<int>{1} << QStringList{".jpg", ".mp4"};
    }

    void deletingChecked()
    {
        QFETCH(int, screenRow);
        QFETCH(QString, file);
        QFETCH(QStringList, entries);
        QFETCH(QList<int>, checked);
        QFETCH(QStringList, kept);
        // Written with LF: even an unchanged list comes back in the
        // program's own format, so the test sees that it was written.
        General w({{file, entries.join('\n').toUtf8()}});
        QListWidget* rows = w.openRow(screenRow);
        checkRows(rows, checked);
        w.click(screenRow == 1 ? "btnDelFolder" : "btnDelExt");
        QCOMPARE(texts(rows), kept);
        QCOMPARE(w.folder.read(file), listBytes(kept));
        QCOMPARE(screenRow == 1 ? w.form->lists().folders : w.form->lists().extensions, kept);
    }

    void addingExtension_data()
    {
        QTest::addColumn<QString>("typed"); // null: Cancel
        QTest::addColumn<QStringList>("stored");
        const QStringList defaults = AppLists::defaultExtensions();
        QTest::newRow("typed JPG with blanks") << " JPG " << defaults + QStringList{".jpg"};
        QTest::newRow("heic") << "heic" << defaults + QStringList{".heic"};
        QTest::newRow("empty input still writes") << "" << defaults;
        QTest::newRow("cancel still writes") << QString() << defaults;
    }

    void addingExtension()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, stored);
        General w({});
        QVERIFY(!w.folder.exists("FileExt.cfg"));
        QListWidget* rows = w.openRow(2);
        w.click("btnAddExt");
        auto* dialog = w.form->findChild<TfrmInputExt*>();
        QVERIFY(dialog->isVisible());
        auto* edit = dialog->findChild<QLineEdit*>("edtFileExt");
        // What the user types goes to the edit, not to the dialog's frame.
        QCOMPARE(dialog->focusWidget(), edit);
        edit->setText(typed);
        dialog->findChild<QAbstractButton*>(typed.isNull() ? "btnCancel" : "btnOK")->click();
        QVERIFY(!dialog->isVisible());
        // A missing FileExt.cfg appears holding the extensions in use.
        QCOMPARE(w.folder.read("FileExt.cfg"), listBytes(stored));
        QCOMPARE(texts(rows), stored);
        QCOMPARE(w.form->lists().extensions, stored);
    }

    void addingFolderThroughChooser_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK adds the open folder") << true;
        QTest::newRow("Cancel rewrites the list unchanged") << false;
    }

    void addingFolderThroughChooser()
    {
        QFETCH(bool, ok);
        QTemporaryDir tree;
        QVERIFY(QDir(tree.path()).mkpath("Trip"));
        // Every stored folder stays, also those that cannot be seen now.
        General w({{"folder.cfg", kFolders.join('\n').toUtf8()}});
        QListWidget* rows = w.openRow(1);
        w.click("btnChooseFolder");
        auto* chooser = w.form->findChild<TfrmChooseFolder*>();
        QVERIFY(chooser->isVisible());
        chooser->TotalWork2(tree.path(), true);
        clickRow(chooser->findChild<QListWidget*>("ListBox1"), 0);
        chooser->findChild<QAbstractButton*>(ok ? "Button1" : "Button2")->click();
        const QStringList stored = ok ? kFolders + QStringList{tree.path() + "/Trip"} : kFolders;
        QCOMPARE(w.folder.read("folder.cfg"), listBytes(stored));
        QCOMPARE(texts(rows), stored);
        QCOMPARE(w.form->lists().folders, stored);
    }

    void unwritableListFile_data()
    {
        QTest::addColumn<int>("screenRow");
        QTest::addColumn<QString>("file");
        QTest::newRow("folder.cfg") << 1 << "folder.cfg";
        QTest::newRow("FileExt.cfg") << 2 << "FileExt.cfg";
    }

    void unwritableListFile()
    {
        QFETCH(int, screenRow);
        QFETCH(QString, file);
        const QStringList entries{".a", ".b"};
        General w({{"folder.cfg", listBytes(entries)}, {"FileExt.cfg", listBytes(entries)}});
        QListWidget* rows = w.openRow(screenRow);
        checkRows(rows, {0});
        MessageBox::setNextAnswer(MessageBox::Answer::Ok);
        {
            FileSizeLimit limit(4); // less than the BOM and one line
            w.click(screenRow == 1 ? "btnDelFolder" : "btnDelExt");
        }
        QVERIFY2(MessageBox::lastText().startsWith(file + " could not be saved"),
                 qPrintable(MessageBox::lastText()));
        QCOMPARE(w.folder.read(file), listBytes(entries));
        QCOMPARE(screenRow == 1 ? w.form->lists().folders : w.form->lists().extensions, entries);
        // The rows show what is stored, the deleted row back in its place.
        QCOMPARE(texts(rows), entries);
    }
};

QTEST_MAIN(TestSettingsLists)
#include "tst_settingslists.moc"
