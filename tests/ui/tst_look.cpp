#include "TempProgramFolder.h"
#include "UiTestHelpers.h"
#include "ui/Icons.h"
#include "ui/Look.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QSvgRenderer>
#include <QtTest>

using namespace kyvane;

namespace {

bool drawsSomething(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                return true;
    return false;
}

} // namespace

class TestLook : public QObject
{
    Q_OBJECT

private slots:
    void icons_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name :
             {"back", "back-dark", "menu", "upload", "done", "folder", "file", "select-all",
              "select-none", "delete", "stop", "start", "settings", "checklist", "logo"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void icons()
    {
        QFETCH(QString, name);
        QSvgRenderer renderer(Icons::path(name));
        QVERIFY2(renderer.isValid(), qPrintable(Icons::path(name)));
        QVERIFY(drawsSomething(Icons::pixmap(name, QSize(24, 24)).toImage()));
        QVERIFY(!Icons::icon(name).isNull());
    }

    // The window carries its look itself: beige screens between orange bars
    // 48 high.
    void beigeScreenBetweenOrangeBars()
    {
        TempProgramFolder folder;
        TForm1 form;
        QVERIFY(!Look::styleSheet().isEmpty());
        QCOMPARE(form.styleSheet(), Look::styleSheet());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(control(form, "HeaderToolBar")->geometry(), QRect(0, 0, 358, 48));
        QCOMPARE(control(form, "ToolBar1")->geometry(), QRect(0, 570 - 48, 358, 48));

        const QImage picture = form.grab().toImage();
        const QColor beige(0xf5, 0xf5, 0xdc);
        QCOMPARE(QColor(picture.pixel(179, 505)), beige); // below the home page's tiles
        const QColor header(picture.pixel(300, 10));
        const QColor status(picture.pixel(300, 560));
        QCOMPARE(header, status);
        QVERIFY2(header.hue() >= 25 && header.hue() <= 40 && header.saturation() > 180,
                 qPrintable(header.name()));
    }

    void fonts()
    {
        TempProgramFolder folder;
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QFontInfo title(control(form, "Label1")->font());
        const QFontInfo status(control(form, "Label4")->font());
        QCOMPARE(title.pixelSize(), 24);
        const QStringList families = QFontDatabase::families();
        if (!families.contains(QStringLiteral("Baskerville Old Face"))) {
            const QStringList serifs = {"DejaVu Serif", "Noto Serif", "Liberation Serif"};
            if (std::none_of(serifs.begin(), serifs.end(),
                             [&](const QString& f) { return families.contains(f); }))
                QSKIP("no free serif face installed");
            QVERIFY2(serifs.contains(title.family()), qPrintable(title.family()));
        }
        if (!families.contains(QStringLiteral("Roboto")))
            QSKIP("Roboto is not installed");
        QCOMPARE(status.family(), QStringLiteral("Roboto"));
    }
};

QTEST_MAIN(TestLook)
#include "tst_look.moc"
