// The small dialogs: their shared contract (OK hands back the value, Cancel
// the empty string, both close; no callback, no call), their resets on every
// showing, and the extension dialog's normalisation.
#include "TempProgramFolder.h"
#include "UiTestHelpers.h"
#include "i18n/LanguageRes.h"
#include "ui/MessageBox.h"
#include "ui/dialogs/TfrmChooseLanguage.h"
#include "ui/dialogs/TfrmConfirm.h"
#include "ui/dialogs/TfrmDatePicker.h"
#include "ui/dialogs/TfrmInputExt.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

using namespace kyvane;

namespace {

// Records what a dialog hands back.
struct Answers
{
    QStringList values;
    TCallback callback()
    {
        return [this](const QString& value) { values.append(value); };
    }
};

template <typename T> QPushButton* button(T* dialog, const char* name)
{
    return dialog->template findChild<QPushButton*>(QString::fromLatin1(name));
}

} // namespace

class TestDialogs : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<TForm1> m_form;

    template <typename T> T* dialog() { return m_form->findChild<T*>(); }

private slots:
    void init()
    {
        m_folder = std::make_unique<TempProgramFolder>();
        m_form = std::make_unique<TForm1>();
        m_form->show();
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }

    void cleanup()
    {
        m_form.reset();
        setCurrentLanguage(kLanguageEnglish);
    }

    // Created once with the window, hidden, in the order extension,
    // language, folder chooser, confirmation, date range; each with its
    // fixed caption.
    void createdOnceInOrder()
    {
        QStringList captions;
        for (QObject* child : m_form->children()) {
            if (auto* d = qobject_cast<DialogBase*>(child)) {
                captions << d->caption();
                QVERIFY(!d->isVisible());
            }
        }
        QCOMPARE(captions, (QStringList{"Input File Extension", "Choose Language", "Choose folder",
                                        "Confirm", "Date Picker"}));
    }

    void normalise_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("handedBack");
        QTest::newRow("blanks around JPG") << "  JPG \t"
                                           << ".jpg";
        QTest::newRow("*.PNG") << "*.PNG"
                               << ".png";
        QTest::newRow(".webp") << ".webp"
                               << ".webp";
        QTest::newRow("lone *.") << "*."
                                 << ".";
        QTest::newRow("tar.gz") << "tar.gz"
                                << ".tar.gz";
        QTest::newRow("blanks only") << "   "
                                     << "";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("only A-Z lower-cased") << "ÄBC"
                                              << ".Äbc";
        QTest::newRow("control characters cut") << "\x01mp4\x1f"
                                                << ".mp4";
        QTest::newRow("inner blank kept") << "my ext"
                                          << ".my ext";
        QTest::newRow("star without dot") << "*jpg"
                                          << ".*jpg";
    }

    void normalise()
    {
        QFETCH(QString, typed);
        QFETCH(QString, handedBack);
        QCOMPARE(TfrmInputExt::normalise(typed), handedBack);

        // The same through the dialog itself.
        auto* ext = dialog<TfrmInputExt>();
        Answers answers;
        ext->open(answers.callback());
        ext->findChild<QLineEdit*>("edtFileExt")->setText(typed);
        button(ext, "btnOK")->click();
        QCOMPARE(answers.values, QStringList{handedBack});
        QVERIFY(!ext->isVisible());
    }

    // Cancel hands back the empty string and closes, for every dialog.
    void cancelHandsBackEmpty_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("cancelName");
        QTest::newRow("extension") << "Input File Extension"
                                   << "btnCancel";
        QTest::newRow("language") << "Choose Language"
                                  << "Button2";
        QTest::newRow("confirmation") << "Confirm"
                                      << "Button2";
        QTest::newRow("date range") << "Date Picker"
                                    << "Button2";
        QTest::newRow("folder chooser") << "Choose folder"
                                        << "Button2";
    }

    void cancelHandsBackEmpty()
    {
        QFETCH(QString, caption);
        QFETCH(QString, cancelName);
        DialogBase* target = nullptr;
        for (auto* d : m_form->findChildren<DialogBase*>())
            if (d->caption() == caption)
                target = d;
        QVERIFY(target);
        Answers answers;
        target->open(answers.callback());
        QVERIFY(target->isVisible());
        target->findChild<QPushButton*>(cancelName)->click();
        QCOMPARE(answers.values, QStringList{QString()});
        QVERIFY(!target->isVisible());

        // Keys stay in the dialog: Tab goes round its own controls only, and
        // the Back key closes it without changing the screen below.
        m_form->ChangeTab(TForm1::SettingsList);
        target->open(answers.callback());
        for (int i = 0; i < 8; ++i) {
            QWidget* focused = QApplication::focusWidget();
            QVERIFY2(focused == target || target->isAncestorOf(focused),
                     qPrintable(focused ? focused->objectName() : QStringLiteral("none")));
            QTest::keyClick(focused, Qt::Key_Tab);
        }
        QVERIFY(releaseKey(QApplication::focusWidget(), Qt::Key_Left, Qt::AltModifier));
        QCOMPARE(m_form->currentTabIndex(), int(TForm1::SettingsList));
        QCOMPARE(answers.values, (QStringList{QString(), QString()}));
        QVERIFY(!target->isVisible());

        // Escape cancels, and so does Enter on a focused Cancel.
        target->open(answers.callback());
        releaseKey(QApplication::focusWidget(), Qt::Key_Escape);
        QCOMPARE(answers.values.size(), 3);
        target->open(answers.callback());
        target->findChild<QPushButton*>(cancelName)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(answers.values, (QStringList{QString(), QString(), QString(), QString()}));
        QVERIFY(!target->isVisible());
        QCOMPARE(m_form->currentTabIndex(), int(TForm1::SettingsList));
    }

    void confirmationHandsBackOK()
    {
        auto* confirm = dialog<TfrmConfirm>();
        QCOMPARE(confirm->findChild<QLabel*>("Label6")->text(), QStringLiteral("Are you sure?"));
        confirm->SetCaption("Delete it?");
        QCOMPARE(confirm->findChild<QLabel*>("Label6")->text(), QStringLiteral("Delete it?"));
        Answers answers;
        confirm->open(answers.callback());
        button(confirm, "Button1")->click();
        QCOMPARE(answers.values, QStringList{"OK"});
        QVERIFY(!confirm->isVisible());
    }

    // Without a callback OK and Cancel only close; the date range's OK does
    // nothing at all.
    void noCallbackNoCall()
    {
        auto* confirm = dialog<TfrmConfirm>();
        confirm->open({});
        button(confirm, "Button1")->click();
        QVERIFY(!confirm->isVisible());

        auto* picker = dialog<TfrmDatePicker>();
        picker->open({});
        const int shown = MessageBox::shownCount();
        button(picker, "Button1")->click();
        QVERIFY(picker->isVisible());
        QCOMPARE(MessageBox::shownCount(), shown);
        button(picker, "Button2")->click();
        QVERIFY(!picker->isVisible());
    }

    void extensionFieldIsEmptiedOnEveryShowing()
    {
        auto* ext = dialog<TfrmInputExt>();
        ext->open({});
        ext->findChild<QLineEdit*>("edtFileExt")->setText("raw");
        button(ext, "btnCancel")->click();
        ext->open({});
        QCOMPARE(ext->findChild<QLineEdit*>("edtFileExt")->text(), QString());
    }

    void dateRange_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QString>("handedBack"); // empty: refused
        QTest::newRow("same day") << QDate(2024, 3, 1) << QDate(2024, 3, 1)
                                  << "2024/03/01-2024/03/01";
        QTest::newRow("a year") << QDate(2023, 12, 31) << QDate(2024, 12, 30)
                                << "2023/12/31-2024/12/30";
        QTest::newRow("from one day after to") << QDate(2024, 3, 2) << QDate(2024, 3, 1) << "";
    }

    void dateRange()
    {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QString, handedBack);
        auto* picker = dialog<TfrmDatePicker>();
        Answers answers;
        picker->open(answers.callback());
        picker->findChild<QDateEdit*>("DateEdit1")->setDate(from);
        picker->findChild<QDateEdit*>("DateEdit2")->setDate(to);
        MessageBox::setNextAnswer(MessageBox::Answer::Ok);
        const int shown = MessageBox::shownCount();
        button(picker, "Button1")->click();
        if (handedBack.isEmpty()) {
            QCOMPARE(MessageBox::shownCount(), shown + 1);
            QCOMPARE(MessageBox::lastText(), QStringLiteral("Date Range Error"));
            QVERIFY(picker->isVisible());
            QVERIFY(answers.values.isEmpty());
            QCOMPARE(picker->findChild<QDateEdit*>("DateEdit1")->date(), from);
            QCOMPARE(picker->findChild<QDateEdit*>("DateEdit2")->date(), to);
            button(picker, "Button2")->click();
        } else {
            QCOMPARE(MessageBox::shownCount(), shown);
            QCOMPARE(answers.values, QStringList{handedBack});
            QVERIFY(!picker->isVisible());
        }
        // Shown again, both dates are today.
        picker->open({});
        QCOMPARE(picker->findChild<QDateEdit*>("DateEdit1")->date(), QDate::currentDate());
        QCOMPARE(picker->findChild<QDateEdit*>("DateEdit2")->date(), QDate::currentDate());
        button(picker, "Button2")->click();
    }

    // A date typed into the field is read in the form the field shows.
    void typedDateIsTakenAsShown()
    {
        auto* picker = dialog<TfrmDatePicker>();
        Answers answers;
        picker->open(answers.callback());
        const QDate wanted = QDate::currentDate().addMonths(-1).addDays(
            1 - QDate::currentDate().addMonths(-1).day());
        auto* from = picker->findChild<QDateEdit*>("DateEdit1");
        from->setFocus();
        QTest::keyClick(from, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(from, wanted.toString(QStringLiteral("yyyy/MM/dd")));
        QCOMPARE(from->date(), wanted);
        button(picker, "Button1")->click();
        QCOMPARE(answers.values, QStringList{wanted.toString(QStringLiteral("yyyy/MM/dd")) + "-" +
                                             QDate::currentDate().toString("yyyy/MM/dd")});
    }

    // No file is modified after today: neither field nor calendar offers
    // a later day.
    void noDayAfterToday()
    {
        auto* picker = dialog<TfrmDatePicker>();
        picker->open({});
        const QDate today = QDate::currentDate();
        for (const char* name : {"DateEdit1", "DateEdit2"}) {
            auto* edit = picker->findChild<QDateEdit*>(name);
            QCOMPARE(edit->maximumDate(), today);
            edit->setDate(today.addDays(1));
            QCOMPARE(edit->date(), today);
            QCOMPARE(edit->calendarWidget()->maximumDate(), today);
        }
        button(picker, "Button2")->click();
    }

    // A message is shown inside the window in the dialogs' own look, its
    // text wrapped to the panel, its buttons in the current language.
    void messageInTheWindowsLook_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<bool>("question");
        QTest::addColumn<QString>("press");       // the button's object name
        QTest::addColumn<QStringList>("buttons"); // texts shown
        QTest::addColumn<bool>("answer");
        QTest::newRow("message") << int(kLanguageEnglish) << false << "btnMessageOk"
                                 << QStringList{"OK"} << true;
        QTest::newRow("question, Yes")
            << int(kLanguageEnglish) << true << "btnMessageOk" << QStringList{"No", "Yes"} << true;
        QTest::newRow("question, No, Traditional Chinese")
            << int(kLanguageTraditionalChinese) << true << "btnMessageNo"
            << QStringList{QString::fromUtf8("否"), QString::fromUtf8("是")} << false;
        QTest::newRow("message, Simplified Chinese")
            << int(kLanguageSimplifiedChinese) << false << "btnMessageOk"
            << QStringList{QString::fromUtf8("确定")} << true;
    }

    void messageInTheWindowsLook()
    {
        QFETCH(int, language);
        QFETCH(bool, question);
        QFETCH(QString, press);
        QFETCH(QStringList, buttons);
        QFETCH(bool, answer);
        setCurrentLanguage(language);
        const QString text = QStringLiteral("Backup folder not found, passed over: ") +
                             QString(200, QLatin1Char('x')) + QStringLiteral(" and more");
        QStringList shownButtons;
        QRect panel;
        QString shownText;
        bool wrapped = false;
        QTimer::singleShot(0, this, [&] {
            auto* message = m_form->findChild<QWidget*>("MessageDialog");
            QVERIFY(message && message->isVisible());
            QCOMPARE(message->parentWidget(), m_form.get());
            auto* label = message->findChild<QLabel*>("lblMessage");
            shownText = label->text();
            wrapped = label->wordWrap() && label->width() <= m_form->width();
            panel = label->geometry();
            for (auto* b : message->findChildren<QPushButton*>()) {
                if (b->isVisibleTo(message))
                    shownButtons << b->text();
            }
            message->findChild<QPushButton*>(press)->click();
        });
        const bool answered = question ? MessageBox::askYesNo(m_form.get(), text)
                                       : (MessageBox::inform(m_form.get(), text), true);
        QCOMPARE(shownText, text);
        QVERIFY(wrapped);
        QVERIFY(!panel.isEmpty());
        QCOMPARE(shownButtons, buttons);
        QCOMPARE(answered, answer);
        // Gone once answered.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!m_form->findChild<QWidget*>("MessageDialog"));
    }

    void language_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("checked");
        QTest::addColumn<QString>("choose");
        QTest::addColumn<QString>("handedBack");
        QTest::newRow("English") << 0 << "radioEnglish"
                                 << "radioGBK"
                                 << "200";
        QTest::newRow("Traditional") << 100 << "radioCHT"
                                     << "radioEnglish"
                                     << "0";
        QTest::newRow("Simplified") << 200 << "radioGBK"
                                    << "radioCHT"
                                    << "100";
    }

    void language()
    {
        QFETCH(int, current);
        QFETCH(QString, checked);
        QFETCH(QString, choose);
        QFETCH(QString, handedBack);
        setCurrentLanguage(current);
        auto* languages = dialog<TfrmChooseLanguage>();
        Answers answers;
        languages->open(answers.callback());
        QVERIFY(languages->findChild<QRadioButton*>(checked)->isChecked());
        languages->findChild<QRadioButton*>(choose)->setChecked(true);
        button(languages, "Button1")->click();
        QCOMPARE(answers.values, QStringList{handedBack});
        QCOMPARE(currentLanguage(), current); // the callee switches, not the dialog
        QCOMPARE(languages->findChild<QRadioButton*>("radioCHT")->text(),
                 QStringLiteral("繁體中文"));
    }

    // The button texts follow the language; the captions never do.
    void textsFollowTheLanguage()
    {
        setCurrentLanguage(kLanguageSimplifiedChinese);
        m_form->ApplyLanguage();
        auto* picker = dialog<TfrmDatePicker>();
        QCOMPARE(button(picker, "Button1")->text(), QStringLiteral("确定"));
        QCOMPARE(button(picker, "Button2")->text(), QStringLiteral("取消"));
        QCOMPARE(picker->findChild<QLabel*>("Label1")->text(), QStringLiteral("从"));
        QCOMPARE(dialog<TfrmInputExt>()->findChild<QLabel*>("Label1")->text(),
                 QStringLiteral("请输入副档名 (例: pdf)"));
        QCOMPARE(picker->caption(), QStringLiteral("Date Picker"));
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
