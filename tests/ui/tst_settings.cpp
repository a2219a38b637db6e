// The settings list and the server editor: rows, opening, saving, deleting,
// the account filter, and a server.cfg that cannot be written.

#include "FileSizeLimit.h"
#include "SettingsTestHelpers.h"
#include "core/AppLists.h"
#include "i18n/ExtraTexts.h"
#include "transfer/Digest.h"
#include "ui/MessageBox.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace kyvane;

namespace {

const QString kNewMessage = QStringLiteral("Server/Port/Account/Password can not be empty");
const QString kEditMessage = QStringLiteral("Server/Port/Account can not be empty");

// A window on the settings list, server.cfg holding lines.
struct Editor : SettingsWindow
{
    explicit Editor(const QStringList& lines)
        : SettingsWindow(lines.isEmpty() ? Files{} : Files{{"server.cfg", listBytes(lines)}})
    {
        QTest::mouseClick(control(*form, "rectSetup"), Qt::LeftButton);
    }

    QLineEdit* edit(const char* name) const
    {
        return control<QLineEdit>(*form, QString::fromLatin1(name));
    }
    QListWidget* rows() const { return list("ListBox3"); }

    // Opens the settings row at row and fills the editor's fields.
    void open(int row, const QString& server, const QString& port, const QString& account,
              const QString& password) const
    {
        clickRow(rows(), row);
        QCOMPARE(form->currentTabIndex(), int(TForm1::ServerEditor));
        edit("edtServer")->setText(server);
        edit("edtPort")->setText(port);
        edit("edtAccount")->setText(account);
        edit("edtPassword")->setText(password);
    }

    void ok() const { control<QAbstractButton>(*form, "btnOK")->click(); }
    QByteArray serverCfg() const { return folder.read("server.cfg"); }
};

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void settingsRows_data()
    {
        QTest::addColumn<QStringList>("servers");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QList<int>>("tags");
        QTest::newRow("no server") << QStringList() << QStringList{"General Settings", "Add Server"}
                                   << QList<int>{999, 888};
        QTest::newRow("one server, address trimmed")
            << QStringList{" nas.home\t|25714|anna|d"}
            << QStringList{"General Settings", "nas.home", "Add Server"} << QList<int>{999, 0, 888};
        QTest::newRow("two servers, same address")
            << QStringList{"10.0.0.2|1|a|d", "10.0.0.2|2|b|d"}
            << QStringList{"General Settings", "10.0.0.2", "10.0.0.2", "Add Server"}
            << QList<int>{999, 0, 1, 888};
        QTest::newRow("line without bar, whole and untrimmed")
            << QStringList{" odd line "}
            << QStringList{"General Settings", " odd line ", "Add Server"}
            << QList<int>{999, 0, 888};
    }

    void settingsRows()
    {
        QFETCH(QStringList, servers);
        QFETCH(QStringList, rows);
        QFETCH(QList<int>, tags);
        Editor w(servers);
        QCOMPARE(w.form->currentTabIndex(), int(TForm1::SettingsList));
        QCOMPARE(texts(w.rows()), rows);
        QCOMPARE(::tags(w.rows()), tags);
    }

    void settingsRowLook()
    {
        Editor w({"nas.home|25714|anna|d"});
        // The first row keeps the style's colour.
        const QColor colours[] = {QColor(), QColor(0xFF0000FFu), QColor(0xFFDC143Cu)};
        const QString tagStrings[] = {"general settings", "nas.home", "add server"};
        for (int i = 0; i < 3; ++i) {
            const QListWidgetItem* item = w.rows()->item(i);
            const QVariant foreground = item->data(Qt::ForegroundRole);
            QCOMPARE(foreground.isValid(), colours[i].isValid());
            if (foreground.isValid())
                QCOMPARE(foreground.value<QBrush>().color(), colours[i]);
            QCOMPARE(item->data(row::TagString).toString(), tagStrings[i]);
            QCOMPARE(item->sizeHint().height(), 60);
            QCOMPARE(item->font().family(), QStringLiteral("Roboto"));
            QCOMPARE(item->font().pixelSize(), 24);
            QVERIFY(item->data(row::More).toBool());
        }
    }

    void openingRows_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("fields"); // server, port, account
        QTest::addColumn<bool>("deleteShown");
        QTest::addColumn<QString>("title");
        QTest::newRow("first of two with the same address")
            << 1 << QStringList{" 10.0.0.2", " 1 ", "anna "} << true << "10.0.0.2";
        QTest::newRow("second of two with the same address")
            << 2 << QStringList{"10.0.0.2", "2", "bob"} << true << "10.0.0.2";
        QTest::newRow("line without bar") << 3 << QStringList{"odd", "", ""} << true << "odd";
        QTest::newRow("add server") << 4 << QStringList{"", "", ""} << false << "Add Server";
    }

    void openingRows()
    {
        QFETCH(int, row);
        QFETCH(QStringList, fields);
        QFETCH(bool, deleteShown);
        QFETCH(QString, title);
        Editor w({" 10.0.0.2| 1 |anna |d1", "10.0.0.2|2|bob|d2", "odd"});
        // Whatever was typed before, opening shows the row's own fields.
        w.open(4, "typed", "typed", "typed", "typed");
        w.form->ChangeTab(TForm1::SettingsList);
        clickRow(w.rows(), row);
        QCOMPARE(w.form->currentTabIndex(), int(TForm1::ServerEditor));
        QCOMPARE(w.form->navMarkerValue(), 1);
        QCOMPARE(w.edit("edtServer")->text(), fields.at(0));
        QCOMPARE(w.edit("edtPort")->text(), fields.at(1));
        QCOMPARE(w.edit("edtAccount")->text(), fields.at(2));
        QCOMPARE(w.edit("edtPassword")->text(), QString());
        QCOMPARE(control(*w.form, "Label12")->isVisibleTo(w.form.get()), deleteShown);
        // "Leave it empty" only where there is a stored password to keep.
        QCOMPARE(control(*w.form, "lbleavepwempty")->isVisibleTo(w.form.get()), deleteShown);
        QCOMPARE(control<QLabel>(*w.form, "Label5")->text(), title);
    }

    void savingNewServer_data()
    {
        QTest::addColumn<QStringList>("typed"); // server, port, account, password
        QTest::addColumn<QString>("stored");    // empty: refused
        QTest::addColumn<QString>("message");   // why it is refused
        const QString server = extraText(ExtraText::ServerFieldInvalid);
        const QString port = extraText(ExtraText::PortFieldInvalid);
        const QString account = extraText(ExtraText::AccountFieldInvalid);
        QTest::newRow("blanks trimmed, digest of the trimmed password")
            << QStringList{"  nas.home ", " 25714\t", " anna ", " secret "}
            << "nas.home|25714|anna|" + passwordDigest("secret") << QString();
        QTest::newRow("highest port") << QStringList{"h", "65535", "a", "p"}
                                      << "h|65535|a|" + passwordDigest("p") << QString();
        QTest::newRow("blank server")
            << QStringList{" ", "1", "a", "p"} << QString() << kNewMessage;
        QTest::newRow("empty port") << QStringList{"h", "", "a", "p"} << QString() << kNewMessage;
        QTest::newRow("blank account")
            << QStringList{"h", "1", "\t", "p"} << QString() << kNewMessage;
        QTest::newRow("blank password")
            << QStringList{"h", "1", "a", "  "} << QString() << kNewMessage;
        // Each of these would shift the fields of the stored line.
        QTest::newRow("bar in the server")
            << QStringList{"backup.example|9", "6000", "anna", "p"} << QString() << server;
        QTest::newRow("control character inside the server")
            << QStringList{"nas\x01home", "1", "a", "p"} << QString() << server;
        QTest::newRow("port not a number")
            << QStringList{"h", "port", "a", "p"} << QString() << port;
        QTest::newRow("port 0") << QStringList{"h", "0", "a", "p"} << QString() << port;
        QTest::newRow("port 65536") << QStringList{"h", "65536", "a", "p"} << QString() << port;
        QTest::newRow("negative port") << QStringList{"h", "-1", "a", "p"} << QString() << port;
        QTest::newRow("bar in the account")
            << QStringList{"h", "1", "anna|x", "p"} << QString() << account;
        QTest::newRow("line break pasted into the account")
            << QStringList{"h", "1", "an\nna", "p"} << QString() << account;
    }

    void savingNewServer()
    {
        QFETCH(QStringList, typed);
        QFETCH(QString, stored);
        QFETCH(QString, message);
        const QString existing = "old|1|a|" + passwordDigest("x");
        Editor w({existing});
        w.open(2, typed.at(0), typed.at(1), typed.at(2), typed.at(3));
        if (stored.isEmpty())
            MessageBox::setNextAnswer(MessageBox::Answer::Ok);
        const int shown = MessageBox::shownCount();
        w.ok();
        QCOMPARE(w.form->navMarkerValue(), 0);
        if (stored.isEmpty()) {
            QCOMPARE(MessageBox::shownCount(), shown + 1);
            QCOMPARE(MessageBox::lastText(), message);
            QCOMPARE(w.form->currentTabIndex(), int(TForm1::ServerEditor));
            QCOMPARE(w.edit("edtServer")->text(), typed.at(0)); // kept as typed
            QCOMPARE(w.serverCfg(), listBytes({existing}));
            QCOMPARE(w.form->lists().servers, QStringList{existing});
            return;
        }
        QCOMPARE(MessageBox::shownCount(), shown);
        QCOMPARE(w.serverCfg(), listBytes({existing, stored}));
        QCOMPARE(w.form->lists().servers, (QStringList{existing, stored}));
        QCOMPARE(w.form->currentTabIndex(), int(TForm1::SettingsList));
        QCOMPARE(texts(w.rows()).at(2), stored.section('|', 0, 0));
        QCOMPARE(::tags(w.rows()), (QList<int>{999, 0, 1, 888}));
        QVERIFY(!w.rows()->currentItem());
    }

    void savingExistingServer_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("stored"); // empty: refused
        QTest::addColumn<QString>("message");
        const QString digest = passwordDigest("old");
        QTest::newRow("empty password keeps the digest, other fields change")
            << "nas|1|anna|" + digest << QStringList{" new ", " 2 ", " bob ", ""}
            << "new|2|bob|" + digest << QString();
        QTest::newRow("blank password keeps the digest")
            << "nas|1|anna|" + digest << QStringList{"nas", "1", "anna", "  "}
            << "nas|1|anna|" + digest << QString();
        QTest::newRow("new password digested as typed, blanks included")
            << "nas|1|anna|" + digest << QStringList{"nas", "1", "anna", " pw "}
            << "nas|1|anna|" + passwordDigest(" pw ") << QString();
        QTest::newRow("three fields get an empty fourth")
            << "nas|1|anna" << QStringList{"nas", "1", "anna", ""} << "nas|1|anna|" << QString();
        QTest::newRow("fields after the fourth dropped")
            << "nas|1|anna|" + digest + "|extra" << QStringList{"nas", "1", "anna", ""}
            << "nas|1|anna|" + digest << QString();
        QTest::newRow("password not required, account is")
            << "nas|1|anna|" + digest << QStringList{"nas", "1", " ", "pw"} << QString()
            << kEditMessage;
        QTest::newRow("bar in the server")
            << "nas|1|anna|" + digest << QStringList{"nas|2", "1", "anna", ""} << QString()
            << extraText(ExtraText::ServerFieldInvalid);
        QTest::newRow("port out of range")
            << "nas|1|anna|" + digest << QStringList{"nas", "70000", "anna", ""} << QString()
            << extraText(ExtraText::PortFieldInvalid);
    }

    void savingExistingServer()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, typed);
        QFETCH(QString, stored);
        QFETCH(QString, message);
        const QString other = "other|9|z|" + passwordDigest("z");
        Editor w({other, line});
        w.open(2, typed.at(0), typed.at(1), typed.at(2), typed.at(3));
        if (stored.isEmpty())
            MessageBox::setNextAnswer(MessageBox::Answer::Ok);
        const int shown = MessageBox::shownCount();
        w.ok();
        if (stored.isEmpty()) {
            QCOMPARE(MessageBox::lastText(), message);
            QCOMPARE(w.serverCfg(), listBytes({other, line}));
            QCOMPARE(w.form->currentTabIndex(), int(TForm1::ServerEditor));
            return;
        }
        QCOMPARE(MessageBox::shownCount(), shown);
        QCOMPARE(w.serverCfg(), listBytes({other, stored}));
        QCOMPARE(w.form->currentTabIndex(), int(TForm1::SettingsList));
        QCOMPARE(texts(w.rows()).at(2), stored.section('|', 0, 0));
    }

    void deletingServer_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No changes nothing") << false;
        QTest::newRow("Yes deletes") << true;
    }

    void deletingServer()
    {
        QFETCH(bool, yes);
        const QStringList lines{"a|1|x|d", "b|2|y|d", "c|3|z|d"};
        Editor w(lines);
        clickRow(w.rows(), 2);
        MessageBox::setNextAnswer(yes ? MessageBox::Answer::Yes : MessageBox::Answer::No);
        QTest::mouseClick(control(*w.form, "Label12"), Qt::LeftButton);
        QCOMPARE(MessageBox::lastText(), QStringLiteral("Are you sure?"));
        if (!yes) {
            QCOMPARE(w.serverCfg(), listBytes(lines));
            QCOMPARE(w.form->lists().servers, lines);
            QCOMPARE(w.form->currentTabIndex(), int(TForm1::ServerEditor));
            QCOMPARE(w.edit("edtServer")->text(), QStringLiteral("b"));
            return;
        }
        QCOMPARE(w.serverCfg(), listBytes({"a|1|x|d", "c|3|z|d"}));
        QCOMPARE(w.form->currentTabIndex(), int(TForm1::SettingsList));
        QCOMPARE(w.form->navMarkerValue(), 0);
        QCOMPARE(texts(w.rows()), (QStringList{"General Settings", "a", "c", "Add Server"}));
        // The rows were rebuilt: the third row is now tagged 1 and opens "c".
        clickRow(w.rows(), 2);
        QCOMPARE(w.edit("edtServer")->text(), QStringLiteral("c"));
    }

    void accountFilter_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result"); // typed after "ab"
        QTest::newRow("Latin letter") << int(Qt::Key_Z) << "Z"
                                      << "abZ";
        QTest::newRow("accented letter") << 0 << QString::fromUtf8("é") << QString::fromUtf8("abé");
        QTest::newRow("Chinese") << 0 << QString::fromUtf8("张") << QString::fromUtf8("ab张");
        QTest::newRow("Chinese beyond the BMP")
            << 0 << QString::fromUtf8("𠀀") << QString::fromUtf8("ab𠀀");
        QTest::newRow("digit") << int(Qt::Key_7) << "7"
                               << "ab7";
        QTest::newRow("full-width digit")
            << 0 << QString::fromUtf8("７") << QString::fromUtf8("ab７");
        QTest::newRow("at sign") << int(Qt::Key_At) << "@"
                                 << "ab";
        QTest::newRow("full stop") << int(Qt::Key_Period) << "."
                                   << "ab";
        QTest::newRow("hyphen") << int(Qt::Key_Minus) << "-"
                                << "ab";
        QTest::newRow("underscore") << int(Qt::Key_Underscore) << "_"
                                    << "ab";
        QTest::newRow("blank") << int(Qt::Key_Space) << " "
                               << "ab";
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << "\b"
                                   << "a";
        QTest::newRow("arrow, no character") << int(Qt::Key_Left) << ""
                                             << "ab";
    }

    void accountFilter()
    {
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(QString, result);
        Editor w({});
        clickRow(w.rows(), 1);
        QLineEdit* account = w.edit("edtAccount");
        account->setText(QStringLiteral("ab"));
        account->setFocus();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(account, &press);
        QCOMPARE(account->text(), result);
    }

    void accountPasteNotFiltered()
    {
        Editor w({});
        clickRow(w.rows(), 1);
        QLineEdit* account = w.edit("edtAccount");
        QGuiApplication::clipboard()->setText(QStringLiteral("a.b@c"));
        if (QGuiApplication::clipboard()->text() != QStringLiteral("a.b@c"))
            QSKIP("no clipboard on this platform");
        QTest::keyClick(account, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(account->text(), QStringLiteral("a.b@c"));
    }

    void serverCfgOwnerOnly()
    {
        Editor w({});
        w.open(1, "nas", "1", "anna", "pw");
        w.ok();
        const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                                QFileDevice::ReadOther | QFileDevice::WriteOther |
                                                QFileDevice::ExeGroup | QFileDevice::ExeOther;
        QCOMPARE(QFile::permissions(w.folder.file("server.cfg")) & others,
                 QFileDevice::Permissions());
    }

    void unwritableServerCfg_data()
    {
        QTest::addColumn<int>("row"); // the row opened: 2 adds, 1 edits
        QTest::newRow("add") << 2;
        QTest::newRow("edit") << 1;
    }

    void unwritableServerCfg()
    {
        QFETCH(int, row);
        const QString line = "nas|1|anna|" + passwordDigest("x");
        Editor w({line});
        w.open(row, "a-much-longer-server-name.example", "25714", "someone", "pw");
        MessageBox::setNextAnswer(MessageBox::Answer::Ok);
        {
            // Any new server.cfg is longer than this: the write fails as on
            // a full disk.
            FileSizeLimit limit(20);
            w.ok();
        }
        QVERIFY2(MessageBox::lastText().startsWith(QStringLiteral("server.cfg could not be saved")),
                 qPrintable(MessageBox::lastText()));
        QCOMPARE(w.serverCfg(), listBytes({line}));
        QCOMPARE(w.form->lists().servers, QStringList{line});
        QCOMPARE(texts(w.rows()), (QStringList{"General Settings", "nas", "Add Server"}));
        // Still in the editor with what was typed, to try again.
        QCOMPARE(w.form->currentTabIndex(), int(TForm1::ServerEditor));
        QCOMPARE(w.edit("edtServer")->text(), QStringLiteral("a-much-longer-server-name.example"));
        w.ok();
        QCOMPARE(w.form->lists().servers.size(), row == 2 ? 2 : 1);
        QCOMPARE(w.form->currentTabIndex(), int(TForm1::SettingsList));
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
