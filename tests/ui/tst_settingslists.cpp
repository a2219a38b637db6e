// The general settings, backup folders and file extensions screens: rows,
// Add and Delete, the files they rewrite byte for byte, the folder chooser
// as a way to add a folder, and a list file that cannot be written.

#include "FileSizeLimit.h"
#include "SettingsTestHelpers.h"
#include "core/AppLists.h"
#include "core/PicturesFolder.h"
#include "i18n/ExtraTexts.h"
#include "ui/FolderDialog.h"
#include "ui/MessageBox.h"
#include "ui/dialogs/TfrmChooseFolder.h"
#include "ui/dialogs/TfrmInputExt.h"

#include <QAbstractButton>
#include <QLabel>
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
        QTest::addColumn<bool>("refused"); // as listed already, with a message
        QTest::newRow("new folder") << "/data/new" << kFolders + QStringList{"/data/new"} << false;
        // Every file of a folder listed twice would go twice into each job.
        QTest::newRow("a folder already listed") << kFolders.at(0) << kFolders << true;
        QTest::newRow("the same folder with a trailing separator")
            << kFolders.at(0) + "/" << kFolders << true;
        QTest::newRow("the same folder through /./")
            << QString(kFolders.at(0)).replace(1, 0, "./") << kFolders << true;
        QTest::newRow("cancel writes nothing") << QString() << kFolders << false;
    }

    void addingFolder()
    {
        QFETCH(QString, chosen);
        QFETCH(QStringList, stored);
        QFETCH(bool, refused);
        // folder.cfg as another tool wrote it: no BOM, LF. A write shows as
        // the program's own format.
        General w({{"folder.cfg", kFolders.join('\n').toUtf8()}});
        QListWidget* rows = w.openRow(1);
        FolderDialog::setNextAnswer(chosen);
        if (refused)
            MessageBox::setNextAnswer(MessageBox::Answer::Ok);
        const int shown = MessageBox::shownCount();
        w.click("btnAddFolder");
        QCOMPARE(FolderDialog::lastTitle(), QStringLiteral("Select Folder"));
        // The dialog opens where photos are, as the folder chooser does.
        QCOMPARE(FolderDialog::lastStartFolder(), sharedPicturesFolder());
        QCOMPARE(w.form->lists().folders, stored);
        QCOMPARE(texts(rows), stored);
        QCOMPARE(w.folder.read("folder.cfg"),
                 chosen.isEmpty() || refused ? kFolders.join('\n').toUtf8() : listBytes(stored));
        QCOMPARE(MessageBox::shownCount(), shown + (refused ? 1 : 0));
        if (refused)
            QCOMPARE(MessageBox::lastText(), extraText(ExtraText::FolderAlreadyListed).arg(chosen));
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
        QTest::addColumn<bool>("refused"); // as listed already, with a message
        QStringList defaults = AppLists::defaultExtensions();
        defaults.removeAll(".png");
        QTest::newRow("typed PNG with blanks")
            << " PNG " << defaults + QStringList{".png"} << false;
        QTest::newRow("heic") << "heic" << defaults + QStringList{".heic"} << false;
        QTest::newRow("empty input still writes") << "" << defaults << false;
        QTest::newRow("cancel still writes") << QString() << defaults << false;
        // The extension test would match these as it matches what is
        // listed; refused, and the list written as on Cancel.
        QTest::newRow("listed already") << ".jpg" << defaults << true;
        QTest::newRow("listed already once normalised") << " MP4" << defaults << true;
    }

    void addingExtension()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, stored);
        QFETCH(bool, refused);
        QStringList listed = AppLists::defaultExtensions();
        listed.removeAll(".png");
        General w({{"FileExt.cfg", listed.join('\n').toUtf8()}});
        QListWidget* rows = w.openRow(2);
        if (refused)
            MessageBox::setNextAnswer(MessageBox::Answer::Ok);
        const int shown = MessageBox::shownCount();
        w.click("btnAddExt");
        auto* dialog = w.form->findChild<TfrmInputExt*>();
        QVERIFY(dialog->isVisible());
        auto* edit = dialog->findChild<QLineEdit*>("edtFileExt");
        // What the user types goes to the edit, not to the dialog's frame.
        QCOMPARE(dialog->focusWidget(), edit);
        edit->setText(typed);
        dialog->findChild<QAbstractButton*>(typed.isNull() ? "btnCancel" : "btnOK")->click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(w.folder.read("FileExt.cfg"), listBytes(stored));
        QCOMPARE(texts(rows), stored);
        QCOMPARE(w.form->lists().extensions, stored);
        QCOMPARE(MessageBox::shownCount(), shown + (refused ? 1 : 0));
        if (refused)
            QCOMPARE(
                MessageBox::lastText(),
                extraText(ExtraText::ExtensionAlreadyListed).arg(TfrmInputExt::normalise(typed)));
    }

    // With no FileExt.cfg, a Cancel writes one holding the extensions in use.
    void missingExtensionFileAppearsOnCancel()
    {
        General w({});
        QVERIFY(!w.folder.exists("FileExt.cfg"));
        w.openRow(2);
        w.click("btnAddExt");
        w.form->findChild<TfrmInputExt*>()->findChild<QAbstractButton*>("btnCancel")->click();
        QCOMPARE(w.folder.read("FileExt.cfg"), listBytes(AppLists::defaultExtensions()));
    }

    // An empty list says how to fill it; the hint goes with the first row
    // and comes back with the last one gone. So does the queue's.
    void emptyListsSayWhatToDo()
    {
        General w({{"folder.cfg", QByteArray()}, {"FileExt.cfg", ".jpg\n"}});
        QListWidget* folders = w.openRow(1);
        auto* hint = control<QLabel>(*w.form, "lblFoldersEmpty");
        QVERIFY(hint->isVisibleTo(w.form.get()));
        QCOMPARE(hint->text(), extraText(ExtraText::FoldersEmptyHint));
        FolderDialog::setNextAnswer(QStringLiteral("/data/photos"));
        w.click("btnAddFolder");
        QCOMPARE(texts(folders), QStringList{"/data/photos"});
        QVERIFY(!hint->isVisibleTo(w.form.get()));

        w.form->ChangeTab(TForm1::GeneralSettings);
        QListWidget* extensions = w.openRow(2);
        auto* extensionHint = control<QLabel>(*w.form, "lblExtensionsEmpty");
        QVERIFY(!extensionHint->isVisibleTo(w.form.get()));
        checkRows(extensions, {0});
        w.click("btnDelExt");
        QVERIFY(extensionHint->isVisibleTo(w.form.get()));

        w.form->ChangeTab(TForm1::Queue);
        auto* queueHint = control<QLabel>(*w.form, "lblQueueEmpty");
        QVERIFY(queueHint->isVisibleTo(w.form.get()));
        w.form->AddToDoList(QStringLiteral("100000"), {"nas|1|a|d|/data/photos/a.jpg"},
                            QStringLiteral("a.jpg"));
        QVERIFY(!queueHint->isVisibleTo(w.form.get()));
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
        chooser->TotalWork2(tree.path());
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
