#include "TempProgramFolder.h"
#include "UiTestHelpers.h"
#include "ui/widgets/SlideTabControl.h"

#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

using namespace kyvane;

namespace {

// The server editor, shown, with the focus in its password field.
struct Editor
{
    TempProgramFolder folder;
    TForm1 form;
    QScrollArea* scroll = control<QScrollArea>(form, QStringLiteral("VertScrollBox2"));
    QWidget* content = control(form, QStringLiteral("Layout1"));
    QLineEdit* field = control<QLineEdit>(form, QStringLiteral("edtPassword"));

    Editor()
    {
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.ChangeTab(TForm1::ServerEditor);
        // The field is where it stays once the screen has slid in.
        auto* tabs = control<SlideTabControl>(form, QStringLiteral("TabControl1"));
        QTRY_VERIFY(!tabs->isSliding());
        field->setFocus();
        QCOMPARE(form.focusWidget(), field);
    }

    // The field's bottom edge in the window's coordinates.
    qreal fieldBottom() const { return field->mapTo(&form, QPointF(0, field->height())).y(); }

    // A keyboard whose top edge lies at top (window coordinates), handed over
    // in screen coordinates as the platform does.
    QRectF keyboardOnScreen(qreal top) const
    {
        const QRectF inWindow(0, top, form.width(), form.height() - top);
        return QRectF(form.mapToGlobal(inWindow.topLeft()), inWindow.size());
    }

    int scrolled() const { return scroll->verticalScrollBar()->value(); }
};

} // namespace

class TestKeyboardOffset : public QObject
{
    Q_OBJECT

private slots:
    void keyboardBelowTheFieldScrollsNothing()
    {
        Editor e;
        const qreal top = e.fieldBottom() + 20;
        e.form.FormVirtualKeyboardShown(e.keyboardOnScreen(top));
        QCOMPARE(e.form.keyboardBounds().top(), top); // kept in client coordinates
        QVERIFY(!e.form.keyboardOffsetNeeded());
        QCOMPARE(e.scrolled(), 0);
        QVERIFY(e.scroll->widgetResizable());
    }

    // The field's bottom edge ends up on the keyboard's top edge.
    void keyboardOverTheFieldScrollsItClear()
    {
        Editor e;
        const qreal bottom = e.fieldBottom();
        const qreal top = bottom - 70;
        e.form.FormVirtualKeyboardShown(e.keyboardOnScreen(top));
        QVERIFY(e.form.keyboardOffsetNeeded());
        QCOMPARE(e.scrolled(), 70);
        QCOMPARE(e.fieldBottom(), top);
        // The content grew so that it could be scrolled that far.
        QVERIFY(e.content->height() >= 2 * e.form.height() - top);
        QVERIFY(!e.scroll->widgetResizable());
    }

    void hiddenKeyboardScrollsBack()
    {
        Editor e;
        const qreal top = e.fieldBottom() - 40;
        e.form.FormVirtualKeyboardShown(e.keyboardOnScreen(top));
        QCOMPARE(e.scrolled(), 40);
        e.form.FormVirtualKeyboardHidden(e.keyboardOnScreen(top));
        QCOMPARE(e.scrolled(), 0);
        QVERIFY(!e.form.keyboardOffsetNeeded());
        QCOMPARE(e.form.keyboardBounds(), QRectF());
        QVERIFY(e.scroll->widgetResizable());
        QTRY_COMPARE(e.content->height(), e.scroll->viewport()->height());
    }

    void contentBoundsGrowOnlyWhileScrolledUp()
    {
        Editor e;
        QRectF bounds(0, 0, 300, 400);
        e.form.CalcKeyboardContentBounds(bounds);
        QCOMPARE(bounds, QRectF(0, 0, 300, 400)); // no keyboard

        e.form.FormVirtualKeyboardShown(e.keyboardOnScreen(e.fieldBottom() - 10));
        const qreal top = e.form.keyboardBounds().top();
        e.form.CalcKeyboardContentBounds(bounds);
        QCOMPARE(bounds.bottom(), 2 * e.form.height() - top);

        QRectF tall(0, 0, 300, 2000);
        e.form.CalcKeyboardContentBounds(tall);
        QCOMPARE(tall.height(), 2000.0); // never shrinks
    }
};

QTEST_MAIN(TestKeyboardOffset)
#include "tst_keyboardoffset.moc"
