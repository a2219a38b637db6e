#include "ExifBytes.h"
#include "PictureFixtures.h"
#include "TempProgramFolder.h"
#include "UiTestHelpers.h"
#include "core/OutcomeStore.h"
#include "core/StopToken.h"
#include "i18n/ExtraTexts.h"
#include "i18n/LanguageRes.h"
#include "i18n/PassedOverNote.h"
#include "transfer/RunningJobs.h"
#include "ui/Icons.h"
#include "ui/MessageBox.h"
#include "ui/ThumbnailCache.h"
#include "ui/screens/ExplorerScreen.h"
#include "ui/widgets/ExplorerListModel.h"
#include "ui/widgets/ExplorerRowDelegate.h"
#include "ui/widgets/SideMenu.h"

#include <QAbstractButton>
#include <QBuffer>
#include <QDesktopServices>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QtTest>

#include <fcntl.h>
#include <memory>
#include <unistd.h>

using namespace kyvane;

namespace {

const QDateTime kBase = QDateTime(QDate(2024, 3, 1), QTime(12, 0, 0));
using Role = ExplorerListModel::Role;

using picturefixtures::pictureOf;

QByteArray jpegOf(const QColor& colour, const QSize& size)
{
    return pictureOf(colour, size, "JPEG");
}

QByteArray pngOf(const QColor& colour, const QSize& size)
{
    return pictureOf(colour, size, "PNG");
}

void writeFile(const QString& path, const QByteArray& bytes, int minutes = 0)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
    QVERIFY(file.flush());
    QVERIFY(file.setFileTime(kBase.addSecs(60 * minutes), QFileDevice::FileModificationTime));
}

// Records the files the window asks the system to open, for its lifetime.
class OpenedUrls : public QObject
{
    Q_OBJECT

public:
    OpenedUrls() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~OpenedUrls() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

    QList<QUrl> urls;

public slots:
    void open(const QUrl& url) { urls << url; }
};

// A shown main window on a fresh program folder, on the file explorer.
struct Window
{
    TempProgramFolder program;
    QTemporaryDir files;
    std::unique_ptr<TForm1> form;
    ExplorerScreen* explorer = nullptr;
    QListView* list = nullptr;

    explicit Window(const QStringList& servers = {})
    {
        QByteArray serverCfg;
        for (const QString& server : servers)
            serverCfg += server.toUtf8() + "\r\n";
        if (!servers.isEmpty())
            program.write(QStringLiteral("server.cfg"), serverCfg);
        form = std::make_unique<TForm1>();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        explorer = form->findChild<ExplorerScreen*>();
        list = control<QListView>(*form, QStringLiteral("ListView1"));
        QVERIFY(explorer && list);
    }
    ~Window()
    {
        if (explorer)
            QTRY_VERIFY(!explorer->isListing());
    }

    QString path(const QString& name) const { return files.filePath(name); }
    QAbstractItemModel* model() const { return list->model(); }
    QLineEdit* edit() const { return control<QLineEdit>(*form, QStringLiteral("Edit1")); }
    QAbstractButton* button(const char* name) const
    {
        return control<QAbstractButton>(*form, QString::fromLatin1(name));
    }
    bool shows(const char* name) const
    {
        const QWidget* w = control(*form, QString::fromLatin1(name));
        return w && w->isVisibleTo(form.get());
    }

    // Opens the explorer on folder, as the home page's Manual command does,
    // and waits for the listing's finish step.
    void open(const QString& folder)
    {
        form->openFileExplorer(folder);
        waitIdle();
    }
    void waitIdle() const { QTRY_VERIFY_WITH_TIMEOUT(!explorer->isListing(), 20000); }
    void waitForThumbnails() const
    {
        QTRY_VERIFY_WITH_TIMEOUT(!explorer->isMakingThumbnails(), 20000);
    }

    QVariant data(int row, int role) const { return model()->index(row, 0).data(role); }
    QStringList names() const
    {
        QStringList names;
        for (int row = 0; row < model()->rowCount(); ++row)
            names << data(row, Qt::DisplayRole).toString();
        return names;
    }
    int rowOf(const QString& name) const { return int(names().indexOf(name)); }

    void clickRow(int row, const QPoint& offset = QPoint(60, 10)) const
    {
        const QRect rect = list->visualRect(model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.topLeft() + offset);
    }
    void clickCheckBox(int row) const
    {
        const QRect rect = list->visualRect(model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          ExplorerRowDelegate::checkBoxRect(rect).center());
    }
    bool checked(int row) const
    {
        return data(row, Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
    }

    bool idle() const
    {
        return !shows("lblWait") && list->isEnabled() && button("Button13")->isEnabled() &&
               button("Button4")->isEnabled() && button("SpeedButton1")->isEnabled();
    }
    bool waiting() const
    {
        return shows("lblWait") && !list->isEnabled() && !button("Button13")->isEnabled() &&
               !button("Button4")->isEnabled() && !button("SpeedButton1")->isEnabled();
    }
};

bool sameImage(const QPixmap& a, const QPixmap& b)
{
    return a.toImage().convertToFormat(QImage::Format_ARGB32) ==
           b.toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class TestExplorer : public QObject
{
    Q_OBJECT

private slots:
    // A click on a file says when and to which server it was last backed
    // up, from the outcome store; a file never confirmed says so.
    void clickShowsTheLastBackup_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("backedUp");
        QTest::addColumn<QString>("never");
        QTest::newRow("English") << 0 << "Last backed up to nas.home on 2024-03-02 09:30"
                                 << "Not backed up yet";
        QTest::newRow("Traditional Chinese")
            << 100 << QString::fromUtf8("上次備份到 nas.home，2024-03-02 09:30")
            << QString::fromUtf8("尚未備份");
        QTest::newRow("Simplified Chinese")
            << 200 << QString::fromUtf8("上次备份到 nas.home，2024-03-02 09:30")
            << QString::fromUtf8("尚未备份");
    }

    void clickShowsTheLastBackup()
    {
        QFETCH(int, language);
        QFETCH(QString, backedUp);
        QFETCH(QString, never);
        Window w;
        setCurrentLanguage(language); // after the start-up has read config.ini
        writeFile(w.path("saved.jpg"), "abc");
        writeFile(w.path("new.jpg"), "abcd", 5);
        FileOutcome sent;
        sent.file = {w.path("saved.jpg"),
                     {QStringLiteral("nas.home"), 25714, QStringLiteral("anna")}};
        sent.size = 3;
        sent.modifiedMs = kBase.toMSecsSinceEpoch();
        sent.outcome = Outcome::Sent;
        sent.atMs = QDateTime(QDate(2024, 3, 2), QTime(9, 30)).toMSecsSinceEpoch();
        OutcomeStore::shared()->recordFileOutcome(sent);
        w.open(w.files.path());
        auto* record = control<QLabel>(*w.form, QStringLiteral("lblBackupRecord"));
        QVERIFY(record && !record->isVisible());

        w.clickRow(w.rowOf("saved.jpg"));
        QTRY_VERIFY(record->isVisible());
        QCOMPARE(record->text(), backedUp);
        w.clickRow(w.rowOf("new.jpg"));
        QCOMPARE(record->text(), never);
        // Backed up while it is shown: the line says so once the job ends.
        sent.file.path = w.path("new.jpg");
        OutcomeStore::shared()->recordFileOutcome(sent);
        QCOMPARE(record->text(), never);
        w.form->JobEnded(QStringLiteral("100000"), OutcomeCounts{});
        QCOMPARE(record->text(), backedUp);
        // A new listing forgets it.
        w.open(w.files.path());
        QVERIFY(!record->isVisible());
        setCurrentLanguage(kLanguageEnglish);
    }

    void init() { setCurrentLanguage(kLanguageEnglish); }
    void cleanup()
    {
        StopTokens::stopAll();
        QTRY_VERIFY_WITH_TIMEOUT(RunningJobs::names().isEmpty(), 20000);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        setCurrentLanguage(kLanguageEnglish);
    }

    // Every kind of row as the list shows it: folders first (A, b, c), then
    // files newest first, each with its texts, check box, tag string and
    // tag; a file gone before its time could be read keeps tag 0.
    void rowsOfAListing()
    {
        Window w;
        for (const char* folder : {"c", "A", "b"})
            QVERIFY(QDir(w.files.path()).mkdir(QString::fromLatin1(folder)));
        writeFile(w.path("old.txt"), "o", -60);
        writeFile(w.path("new.jpg"), "n", 0);
        QVERIFY(QFile::link(w.path("nowhere"), w.path("gone.jpg")));
        w.open(w.files.path());

        QCOMPARE(w.edit()->text(), w.files.path());
        QCOMPARE(w.names(), (QStringList{"A", "b", "c", "new.jpg", "old.txt", "gone.jpg"}));
        const QString folder = w.files.path() + '/';
        for (int row = 0; row < 3; ++row) {
            const QString full = folder + w.names().at(row);
            QCOMPARE(w.data(row, Role::DetailRole).toString(), full);
            QCOMPARE(w.data(row, Role::TagStringRole).toString(), full);
            QCOMPARE(w.data(row, Role::TagRole).toInt(), 0);
            QVERIFY(!w.data(row, Role::CheckBoxShownRole).toBool());
        }
        QCOMPARE(w.data(3, Role::DetailRole).toString(), QStringLiteral("2024-03-01 12:00:00"));
        QCOMPARE(w.data(4, Role::DetailRole).toString(), QStringLiteral("2024-03-01 11:00:00"));
        for (int row = 3; row < 5; ++row) {
            QCOMPARE(w.data(row, Role::TagStringRole).toString(), folder + w.names().at(row));
            QCOMPARE(w.data(row, Role::TagRole).toInt(), 1);
            QVERIFY(w.data(row, Role::CheckBoxShownRole).toBool());
            QVERIFY(!w.checked(row));
        }
        QVERIFY(w.data(5, Role::DetailRole).toString().isEmpty());
        QVERIFY(w.data(5, Role::TagStringRole).toString().isEmpty());
        QCOMPARE(w.data(5, Role::TagRole).toInt(), 0);
        QVERIFY(w.idle());
        QVERIFY(!w.shows("lblCannotList"));
    }

    // While a folder is listed: the wait label, the list, Go up, Go and
    // Back disabled; the rows arrive while it waits; then idle again.
    void waitStateWhileListing()
    {
        Window w;
        for (int i = 0; i < 50; ++i)
            writeFile(w.path(QStringLiteral("f%1").arg(i)), "x", i);
        QList<bool> waitingAtRows;
        connect(w.model(), &QAbstractItemModel::rowsInserted, w.form.get(),
                [&] { waitingAtRows << w.waiting(); });
        w.open(w.files.path());
        QVERIFY(!waitingAtRows.isEmpty());
        QVERIFY(!waitingAtRows.contains(false));
        QVERIFY(w.idle());
        QCOMPARE(w.model()->rowCount(), 50);
    }

    // A folder that cannot be listed ends in the idle state with no row and
    // says so in the current language. Root reads a chmod 000 folder, so a
    // missing folder and a path that is a file stand for it.
    void unreadableFolder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("language");
        QTest::newRow("missing, English") << "missing" << kLanguageEnglish;
        QTest::newRow("a file, Traditional") << "file.txt" << kLanguageTraditionalChinese;
        QTest::newRow("missing, Simplified") << "missing" << kLanguageSimplifiedChinese;
    }

    void unreadableFolder()
    {
        QFETCH(QString, name);
        QFETCH(int, language);
        Window w;
        writeFile(w.path("file.txt"), "x");
        w.open(w.files.path());
        QCOMPARE(w.model()->rowCount(), 1);
        setCurrentLanguage(language);
        w.edit()->setText(w.path(name));
        w.button("Button4")->click();
        w.waitIdle();
        QCOMPARE(w.model()->rowCount(), 0);
        QVERIFY(w.idle());
        QVERIFY(w.shows("lblCannotList"));
        QCOMPARE(control<QLabel>(*w.form, "lblCannotList")->text(),
                 extraText(ExtraText::FolderCannotBeListed));
        // The next folder that can be read hides the note again.
        w.button("Button13")->click();
        w.waitIdle();
        QVERIFY(!w.shows("lblCannotList"));
        QCOMPARE(w.names(), QStringList{"file.txt"});
    }

    // A file whose name could not go into a job is not listed, so it can
    // never be checked; the status line names it.
    void unstorableNamesAreNotListed()
    {
        Window w;
        writeFile(w.path("ok.jpg"), "x");
        const QByteArray bad = QFile::encodeName(w.files.path()) + "/x\ny.jpg";
        const int fd = ::open(bad.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        QVERIFY(fd >= 0);
        ::close(fd);
        w.open(w.files.path());
        QCOMPARE(w.names(), QStringList{"ok.jpg"});
        const QString note = control<QLabel>(*w.form, "Label4")->text();
        QVERIFY2(note.contains(QString::fromUtf8("x\uFFFDy.jpg")), qPrintable(note));
        QCOMPARE(note, passedOverFilesNote({QString::fromUtf8("x\uFFFDy.jpg")}));
        // The explorer keeps the note when the status line moves on; a
        // folder without such names shows none.
        auto* kept = control<QLabel>(*w.form, "lblPassedOverNames");
        QVERIFY(kept->isVisibleTo(w.form.get()));
        QCOMPARE(kept->text(), note);
        w.form->setStatusLine(QStringLiteral("a later line"));
        QCOMPARE(kept->text(), note);
        QVERIFY(QDir(w.files.path()).mkdir("clean"));
        w.open(w.path("clean"));
        QVERIFY(!kept->isVisibleTo(w.form.get()));
    }

    // A name that is valid text but holds a line separator is listed and
    // backed up as it is, and shown on one line.
    void lineSeparatorInANameShowsOnOneLine()
    {
        Window w;
        const QString name = QString::fromUtf8("ls\u2028name\u0085.jpg");
        writeFile(w.path(name), "x");
        w.open(w.files.path());
        QCOMPARE(w.names(), QStringList{QString::fromUtf8("ls\uFFFDname\uFFFD.jpg")});
        QCOMPARE(w.data(0, Role::TagStringRole).toString(), w.path(name));
        w.clickRow(0);
        QVERIFY(w.data(0, Role::DetailRole).toString().endsWith(QStringLiteral("1 KB")));
    }

    // The header's menu button in mid-listing: the rows so far stay, no
    // further row comes, the screen is idle again.
    void cancelInMidListing()
    {
        Window w;
        const int files = 4 * FolderListingThread::kBatchRows;
        for (int i = 0; i < files; ++i)
            writeFile(w.path(QStringLiteral("f%1").arg(i)), {}, i % 7);
        int rowsAtCancel = -1;
        connect(w.model(), &QAbstractItemModel::rowsInserted, w.form.get(), [&] {
            if (rowsAtCancel < 0 && w.model()->rowCount() >= FolderListingThread::kBatchRows) {
                rowsAtCancel = w.model()->rowCount();
                w.button("Button2")->click();
            }
        });
        w.open(w.files.path());
        QVERIFY(rowsAtCancel > 0);
        QCOMPARE(w.model()->rowCount(), rowsAtCancel);
        QVERIFY(rowsAtCancel < files);
        QVERIFY(w.idle());
        QVERIFY(control<SideMenu>(*w.form, "MultiView1")->isOpen());
    }

    // The hardware Back key, not disabled during a listing, starts the
    // parent's listing while the first still runs: the older one adds no
    // further row, so the list holds the parent's rows only.
    void secondListingDuringTheFirst()
    {
        Window w;
        QVERIFY(QDir(w.files.path()).mkdir("big"));
        writeFile(w.path("top.jpg"), "t");
        for (int i = 0; i < 4 * FolderListingThread::kBatchRows; ++i)
            writeFile(w.path(QStringLiteral("big/f%1").arg(i)), {});
        bool pressed = false;
        connect(w.model(), &QAbstractItemModel::rowsInserted, w.form.get(), [&] {
            if (!pressed && w.edit()->text().endsWith("big")) {
                pressed = true;
                QVERIFY(releaseKey(w.form.get(), Qt::Key_Back));
            }
        });
        w.open(w.path("big"));
        QVERIFY(pressed);
        QCOMPARE(w.edit()->text(), w.files.path());
        QCOMPARE(w.names(), (QStringList{"big", "top.jpg"}));
        QVERIFY(w.idle());
    }

    // Go up, Go with a typed path, a tap on a folder row and the Back key;
    // the parent of the root is the root.
    void walkingTheFolders()
    {
        Window w;
        QVERIFY(QDir(w.files.path()).mkpath("sub/inner"));
        writeFile(w.path("sub/inner/deep.txt"), "d");
        w.open(w.path("sub"));
        QCOMPARE(w.names(), QStringList{"inner"});

        w.clickRow(0);
        w.waitIdle();
        QCOMPARE(w.edit()->text(), w.path("sub/inner"));
        QCOMPARE(w.names(), QStringList{"deep.txt"});

        w.button("Button13")->click();
        w.waitIdle();
        QCOMPARE(w.edit()->text(), w.path("sub"));

        // Alt+Left released in the path field, which has the focus after a
        // listing disabled the list.
        QTest::keyRelease(w.edit(), Qt::Key_Back);
        w.waitIdle();
        QCOMPARE(w.edit()->text(), w.files.path());
        QCOMPARE(w.form->currentTabIndex(), 2);
        QCOMPARE(w.names(), QStringList{"sub"});

        w.edit()->setText(w.path("sub/inner/"));
        w.button("Button4")->click();
        w.waitIdle();
        QCOMPARE(w.edit()->text(), w.path("sub/inner/"));
        QCOMPARE(w.data(0, Role::TagStringRole).toString(), w.path("sub/inner/deep.txt"));

        w.edit()->setText(QStringLiteral("/"));
        w.button("Button13")->click();
        w.waitIdle();
        QCOMPARE(w.edit()->text(), QStringLiteral("/"));
        QVERIFY(w.names().contains(QStringLiteral("tmp")));
    }

    // A tap on a file row: time and size, and a 48 by 48 thumbnail for a
    // picture, the camera's embedded one where there is one; every file that
    // cannot be decoded, or is no picture, keeps the file icon.
    void tapOnAFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QColor>("thumbnail"); // invalid: the file icon stays
        const QByteArray photo = jpegOf(Qt::blue, QSize(1600, 1200));
        const QByteArray small = jpegOf(Qt::red, QSize(160, 120));
        const QByteArray withThumb = exifbytes::withExifSegment(
            photo, exifbytes::tiffWithThumbnail(exifbytes::Order::Big, small));
        QTest::newRow("JPEG with an embedded thumbnail")
            << "photo.jpg" << withThumb << QString::number(withThumb.size() / 1024 + 1) + " KB"
            << QColor(Qt::red);
        QTest::newRow("JPEG without, upper case")
            << "PHOTO.JPG" << photo << QString::number(photo.size() / 1024 + 1) + " KB"
            << QColor(Qt::blue);
        QTest::newRow("PNG") << "scan.Png" << pngOf(Qt::green, QSize(30, 90)) << "1 KB"
                             << QColor(Qt::green);
        QTest::newRow("JPEG cut in its header")
            << "cut.jpg" << photo.left(300) << "1 KB" << QColor();
        QTest::newRow("MP4") << "clip.mp4" << QByteArray(1048577, '\0') << "2 MB" << QColor();
        QTest::newRow("empty picture") << "empty.gif" << QByteArray() << "1 KB" << QColor();
        QTest::newRow("1 MB exactly")
            << "data.bin" << QByteArray(1048576, 'x') << "1025 KB" << QColor();

        // The decoder follows the content, never the name; a picture within
        // its budget is shown, one past it is refused before decoding.
        using namespace picturefixtures;
        const QByteArray png = pngOf(Qt::green, QSize(40, 40));
        QTest::newRow("PNG named .jpg") << "named.jpg" << png << "1 KB" << QColor(Qt::green);
        QTest::newRow("progressive JPEG")
            << "progressive.jpg" << pictureOf(Qt::blue, QSize(64, 64), "JPEG", true) << "1 KB"
            << QColor(Qt::blue);
        QTest::newRow("BMP") << "a.bmp" << pictureOf(Qt::red, QSize(20, 20), "BMP") << "2 KB"
                             << QColor(Qt::red);
        const QByteArray bomb =
            jpegClaiming(pictureOf(Qt::blue, QSize(16, 16), "JPEG", true), 30000, 30000);
        QTest::newRow("progressive JPEG claiming 30000 by 30000")
            << "bomb.jpg" << bomb << "1 KB" << QColor();
        QTest::newRow("baseline JPEG claiming 30000 by 30000")
            << "wide.jpg" << jpegClaiming(jpegOf(Qt::blue, QSize(16, 16)), 30000, 30000) << "1 KB"
            << QColor();
        QTest::newRow("PNG claiming 5600 by 5600")
            << "big.png" << pngClaiming(png, 5600, 5600) << "1 KB" << QColor();
        QTest::newRow("PNG claiming 5600 by 5600, named .gif")
            << "big.gif" << pngClaiming(png, 5600, 5600) << "1 KB" << QColor();
        const QByteArray hugeThumb = jpegClaiming(jpegOf(Qt::red, QSize(16, 16)), 1025, 16);
        QTest::newRow("embedded thumbnail over 1024 wide: the picture itself")
            << "thumb.jpg"
            << exifbytes::withExifSegment(
                   jpegOf(Qt::blue, QSize(64, 64)),
                   exifbytes::tiffWithThumbnail(exifbytes::Order::Big, hugeThumb))
            << "2 KB" << QColor(Qt::blue);
        QTest::newRow("SVG") << "icon.svg" << svgWithElements(10) << "1 KB" << QColor(Qt::green);
        QTest::newRow("SVG with too many elements")
            << "many.svg" << svgWithElements(6000) << "24 KB" << QColor();
        QTest::newRow("SVG with an entity bomb")
            << "laughs.svg" << svgWithEntityBomb() << "1 KB" << QColor();
        QTest::newRow("SVG with a chain of uses")
            << "uses.svg" << svgWithUseChain(20) << "2 KB" << QColor();
        const QByteArray compressedSvg = gzipOf(svgWithElements(1));
        QTest::newRow("compressed SVG") << "zipped.svg" << compressedSvg << "1 KB" << QColor();
    }

    void tapOnAFile()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, size);
        QFETCH(QColor, thumbnail);
        Window w;
        writeFile(w.path(name), content);
        w.open(w.files.path());
        const QPixmap fileIcon = w.data(0, Qt::DecorationRole).value<QPixmap>();
        QVERIFY(sameImage(fileIcon, Icons::pixmap(QStringLiteral("file"), QSize(48, 48))));

        w.clickRow(0);
        QCOMPARE(w.data(0, Role::DetailRole).toString(),
                 QStringLiteral("2024-03-01 12:00:00        ") + size);
        w.waitForThumbnails();
        const QPixmap shown = w.data(0, Qt::DecorationRole).value<QPixmap>();
        if (!thumbnail.isValid()) {
            QVERIFY(sameImage(shown, fileIcon));
            return;
        }
        QVERIFY(shown.width() <= 48 && shown.height() <= 48);
        QVERIFY(shown.width() == 48 || shown.height() == 48);
        const QColor centre = shown.toImage().pixelColor(shown.width() / 2, shown.height() / 2);
        QVERIFY2(qAbs(centre.red() - thumbnail.red()) < 40 &&
                     qAbs(centre.green() - thumbnail.green()) < 40 &&
                     qAbs(centre.blue() - thumbnail.blue()) < 40,
                 qPrintable(centre.name()));
    }

    // The picture rows in view get their thumbnails without a click, from
    // the shared thumbnail cache, which they fill; a refused picture keeps
    // the file icon.
    void rowsInViewGetThumbnails()
    {
        Window w;
        writeFile(w.path("a.jpg"), jpegOf(Qt::blue, QSize(300, 200)), 3);
        writeFile(w.path("b.png"), pngOf(Qt::green, QSize(200, 300)), 2);
        writeFile(
            w.path("bomb.jpg"),
            picturefixtures::jpegClaiming(
                picturefixtures::pictureOf(Qt::red, QSize(16, 16), "JPEG", true), 30000, 30000),
            1);
        writeFile(w.path("notes.txt"), "text", 0);
        w.open(w.files.path());
        w.waitForThumbnails();
        const QPixmap fileIcon = Icons::pixmap(QStringLiteral("file"), QSize(48, 48));
        QCOMPARE(w.names(), (QStringList{"a.jpg", "b.png", "bomb.jpg", "notes.txt"}));
        for (const auto& [row, colour] : {std::pair{0, QColor(Qt::blue)}, {1, QColor(Qt::green)}}) {
            const QImage shown = w.data(row, Qt::DecorationRole).value<QPixmap>().toImage();
            QVERIFY(qMax(shown.width(), shown.height()) == 48);
            const QColor centre = shown.pixelColor(shown.width() / 2, shown.height() / 2);
            QVERIFY2(qAbs(centre.blue() - colour.blue()) < 40 &&
                         qAbs(centre.green() - colour.green()) < 40,
                     qPrintable(centre.name()));
        }
        QVERIFY(sameImage(w.data(2, Qt::DecorationRole).value<QPixmap>(), fileIcon));
        QVERIFY(sameImage(w.data(3, Qt::DecorationRole).value<QPixmap>(), fileIcon));
        for (const char* name : {"a.jpg", "b.png"})
            QVERIFY(QFile::exists(ThumbnailCache::cacheFileFor(w.path(name))));
        QVERIFY(!QFile::exists(ThumbnailCache::cacheFileFor(w.path("bomb.jpg"))));
    }

    // A file gone since the listing, or a path field edited without Go:
    // the tap fails quietly, the detail line stays, the file icon stays.
    void tapOnAFileThatIsGone()
    {
        Window w;
        writeFile(w.path("a.png"), pngOf(Qt::green, QSize(10, 10)));
        w.open(w.files.path());
        w.clickRow(0);
        const QString detail = w.data(0, Role::DetailRole).toString();
        QVERIFY(detail.endsWith(QStringLiteral("1 KB")));
        w.edit()->setText(w.path("elsewhere"));
        w.clickRow(0);
        QCOMPARE(w.data(0, Role::DetailRole).toString(), detail);
        // Nor does the thumbnail the first tap asked for come after it.
        w.waitForThumbnails();
        QVERIFY(sameImage(w.data(0, Qt::DecorationRole).value<QPixmap>(),
                          Icons::pixmap(QStringLiteral("file"), QSize(48, 48))));
        QCOMPARE(MessageBox::shownCount(), 0);
    }

    // A thumbnail still being made when another folder is listed belongs to
    // a row that is gone: the new folder's row of the same name never gets
    // it.
    void thumbnailOfARowThatIsGoneIsDropped()
    {
        Window w;
        QVERIFY(QDir(w.files.path()).mkdir(QStringLiteral("other")));
        // Big enough to take a while to decode, well within its budget.
        writeFile(w.path("a.jpg"), jpegOf(Qt::blue, QSize(4000, 4000)));
        writeFile(w.path("other/a.jpg"), "not a picture");
        w.open(w.files.path());
        const int row = w.rowOf(QStringLiteral("a.jpg"));
        w.clickRow(row);
        QVERIFY(w.explorer->isMakingThumbnails());
        w.open(w.path("other"));
        w.waitForThumbnails();
        QCOMPARE(w.names(), QStringList{"a.jpg"});
        QVERIFY(sameImage(w.data(0, Qt::DecorationRole).value<QPixmap>(),
                          Icons::pixmap(QStringLiteral("file"), QSize(48, 48))));
    }

    // A tap on the check box toggles it and is no row click; a tap
    // elsewhere leaves it alone. A double click opens the file.
    void checkBoxAndDoubleClick()
    {
        Window w;
        writeFile(w.path("a.txt"), "a");
        w.open(w.files.path());
        OpenedUrls opened;

        w.clickCheckBox(0);
        QVERIFY(w.checked(0));
        QCOMPARE(w.data(0, Role::DetailRole).toString(), QStringLiteral("2024-03-01 12:00:00"));
        w.clickRow(0);
        QVERIFY(w.checked(0));
        QVERIFY(w.data(0, Role::DetailRole).toString().endsWith(QStringLiteral("1 KB")));
        w.clickCheckBox(0);
        QVERIFY(!w.checked(0));
        QVERIFY(opened.urls.isEmpty());

        const QRect rect = w.list->visualRect(w.model()->index(0, 0));
        QTest::mouseDClick(w.list->viewport(), Qt::LeftButton, {}, rect.center());
        QCOMPARE(opened.urls, QList<QUrl>{QUrl::fromLocalFile(w.path("a.txt"))});
    }

    void doubleClickWithoutSelectionOpensNothing()
    {
        Window w;
        writeFile(w.path("a.txt"), "a");
        w.open(w.files.path());
        OpenedUrls opened;
        QTest::mouseDClick(w.list->viewport(), Qt::LeftButton, {},
                           QPoint(100, w.list->viewport()->height() - 5));
        QVERIFY(opened.urls.isEmpty());
    }

    // Select All over two folders and three files, then Start Backup with
    // two servers: one job with every file for every server, in server
    // order then row order; file rows unchecked, folder rows still checked;
    // the menu stays open and the Queue shows the job.
    void backupWithTwoServers()
    {
        const QStringList servers = {
            QStringLiteral("127.0.0.1|1|anna|0cc175b9c0f1b6a831c399e269772661"),
            QStringLiteral("127.0.0.2|1|bo|0cc175b9c0f1b6a831c399e269772661")};
        Window w(servers);
        for (const char* folder : {"A", "b"})
            QVERIFY(QDir(w.files.path()).mkdir(QString::fromLatin1(folder)));
        for (int i = 0; i < 3; ++i)
            writeFile(w.path(QStringLiteral("f%1.jpg").arg(i)), "x", i);
        w.open(w.files.path());
        w.form->setStatusLine(QStringLiteral("an old line"));

        w.button("Button2")->click();
        w.button("btnSelectAll2")->click();
        for (int row = 0; row < 5; ++row)
            QVERIFY(w.checked(row));
        // Each command closes the menu: the user sees what it did.
        QVERIFY(!control<SideMenu>(*w.form, "MultiView1")->isOpen());
        w.button("Button2")->click();
        w.button("btnBackup")->click();

        const QStringList jobs = QDir(w.program.path()).entryList({QStringLiteral("*.kyv")});
        QCOMPARE(jobs.size(), 1);
        QStringList expected;
        for (const QString& server : servers) {
            for (const char* file : {"f2.jpg", "f1.jpg", "f0.jpg"})
                expected << server + '|' + w.path(QString::fromLatin1(file));
        }
        QCOMPARE(QString::fromUtf8(w.program.read(jobs.first()))
                     .remove(QChar(0xFEFF))
                     .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts),
                 expected);
        for (int row = 0; row < 5; ++row)
            QCOMPARE(w.checked(row), row < 2);
        QVERIFY(!control<SideMenu>(*w.form, "MultiView1")->isOpen());

        w.button("Button2")->click();
        w.button("btnQueue")->click();
        QCOMPARE(w.form->currentTabIndex(), 3);
        const QString rowName = QStringLiteral("LI_") + jobs.first().chopped(4);
        QTRY_VERIFY(w.form->findChild<QWidget*>(rowName));
        // Back lists the folder again: every check mark is gone.
        w.button("SpeedButton1")->click();
        w.waitIdle();
        QCOMPARE(w.form->currentTabIndex(), 2);
        for (int row = 0; row < 5; ++row)
            QVERIFY(!w.checked(row));
    }

    // Select All ticks what the scans would take by name: the media files
    // without ".trashed"; a note or a trashed copy only by hand. Start Backup
    // with nothing ticked says so; Escape closes the menu.
    void selectAllTicksTheMedia()
    {
        Window w({QStringLiteral("127.0.0.1|1|anna|0cc175b9c0f1b6a831c399e269772661")});
        const QStringList media = {"photo.jpg", "CLIP.MP4"};
        const QStringList others = {"notes.txt", ".trashed-1700000000-old.jpg"};
        for (const QString& name : media + others)
            writeFile(w.path(name), "x");
        w.open(w.files.path());
        auto* menu = control<SideMenu>(*w.form, "MultiView1");

        w.button("Button2")->click();
        MessageBox::setNextAnswer(MessageBox::Answer::Ok);
        const int shown = MessageBox::shownCount();
        w.button("btnBackup")->click();
        QCOMPARE(MessageBox::shownCount(), shown + 1);
        QCOMPARE(MessageBox::lastText(), extraText(ExtraText::NothingTicked));
        QVERIFY(QDir(w.program.path()).entryList({QStringLiteral("*.kyv")}).isEmpty());

        w.button("Button2")->click();
        QVERIFY(menu->isOpen());
        QTest::keyClick(w.form.get(), Qt::Key_Escape);
        QTRY_VERIFY(!menu->isOpen());

        w.button("Button2")->click();
        w.button("btnSelectAll2")->click();
        for (const QString& name : media)
            QVERIFY2(w.checked(w.rowOf(name)), qPrintable(name));
        for (const QString& name : others)
            QVERIFY2(!w.checked(w.rowOf(name)), qPrintable(name));
        // By hand, anything.
        w.clickCheckBox(w.rowOf("notes.txt"));
        QVERIFY(w.checked(w.rowOf("notes.txt")));
    }

    // No server: key 42 as a message, nothing written, the checks stay.
    void backupWithoutServer()
    {
        Window w;
        writeFile(w.path("a.jpg"), "a");
        w.open(w.files.path());
        w.form->setStatusLine(QStringLiteral("kept"));
        w.button("Button2")->click();
        w.button("btnSelectAll2")->click();
        MessageBox::setNextAnswer(MessageBox::Answer::Ok);
        w.button("Button2")->click();
        w.button("btnBackup")->click();
        QCOMPARE(MessageBox::lastText(), langText(42));
        QVERIFY(QDir(w.program.path()).entryList({QStringLiteral("*.kyv")}).isEmpty());
        QVERIFY(w.checked(0));
        QCOMPARE(control<QLabel>(*w.form, "Label4")->text(), QStringLiteral("kept"));
        w.button("Button2")->click();
        w.button("btnSelectNone2")->click();
        QVERIFY(!w.checked(0));
    }
};

QTEST_MAIN(TestExplorer)
#include "tst_explorer.moc"
