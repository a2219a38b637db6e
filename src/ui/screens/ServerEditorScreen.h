#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;

namespace kyvane {

class ClickableLabel;
class ScreenHost;

// The server editor: address, port, account and password of one backup
// server, OK, and the label that deletes the server.
class ServerEditorScreen final : public QWidget
{
    Q_OBJECT

public:
    explicit ServerEditorScreen(ScreenHost& host, QWidget* parent = nullptr);

    // Fills the editor for the settings row tagged tag: add server (888)
    // gives empty fields and no delete label; server i its address, port
    // and account as stored, an empty password and the delete label. OK and
    // delete then act on that row. False for a tag of no server.
    bool open(int tag);

    // Asked for the size of the content while it is scrolled up for an
    // on-screen keyboard; may enlarge the rectangle it is given.
    std::function<void(QRectF&)> calcContentBounds;

    // Whether an on-screen keyboard covers field when the content is not
    // scrolled; the keyboard in the coordinates of the window.
    bool keyboardCovers(const QWidget* field, const QRectF& keyboard) const;

    // Scrolls the content so that field's bottom edge meets the keyboard's
    // top edge.
    void scrollAboveKeyboard(const QWidget* field, const QRectF& keyboard);

    // Back at the top, the content filling the area again.
    void resetKeyboardOffset();

    void applyLanguage();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void btnOKClick();
    void Label12Click();
    // Discards a typed character that is not a letter, a digit or a
    // control; true when it was discarded.
    bool edtAccountKeyDown(const QString& KeyChar);
    // Whether server, port and account can be stored; says why not.
    bool fieldsStorable();
    // Stores servers as the server list; then back on the settings list.
    void storeAndLeave(const QStringList& servers);

    // Where field lies in the window with the content unscrolled.
    QRectF unscrolledRect(const QWidget* field) const;

    ScreenHost& m_host;
    // The tag of the settings row the editor was opened from.
    int m_tag = -1;

    QScrollArea* VertScrollBox2 = nullptr;
    QWidget* Layout1 = nullptr;
    QLabel* Label8 = nullptr;
    QLineEdit* edtServer = nullptr;
    QLabel* Label9 = nullptr;
    QLineEdit* edtPort = nullptr;
    QLabel* Label10 = nullptr;
    QLineEdit* edtAccount = nullptr;
    QLabel* Label11 = nullptr;
    QLineEdit* edtPassword = nullptr;
    QLabel* lbleavepwempty = nullptr;
    QPushButton* btnOK = nullptr;
    ClickableLabel* Label12 = nullptr; // delete server
};

} // namespace kyvane
