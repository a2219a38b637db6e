#pragma once

#include <QString>
#include <QWidget>

#include <functional>

class QFrame;
class QPushButton;
class QVBoxLayout;

namespace kyvane {

// How every dialog hands back its answer: the value on OK, the empty string
// on Cancel.
using TCallback = std::function<void(const QString& ASelected)>;

// The shared look and contract of the dialogs. A dialog lies over the whole
// main window as an overlay: a dimmed backdrop with a beige panel centred on
// it, whose bottom bar holds Cancel at the left and OK at the right. Showing
// it does not block: open() returns at once, and the answer comes later
// through the callback. A dialog is created once and shown again and again;
// every showing resets its value.
class DialogBase : public QWidget
{
    Q_OBJECT

public:
    // Sets the callback and shows the dialog over its window.
    void open(TCallback callback);

    // The texts of the current language.
    virtual void applyLanguage();

    // The window caption, which never changes with the language.
    QString caption() const { return windowTitle(); }

protected:
    DialogBase(QWidget* window, const QString& caption, const QString& okName,
               const QString& cancelName, qreal backdropOpacity = 0.5);

    // Where a dialog puts its own controls, above the bottom bar.
    QVBoxLayout* content() const { return m_content; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

    // Resets the dialog's value; runs at every showing.
    virtual void FormShow() {}

    // Hands value to the callback, if one is set, and closes.
    void answer(const QString& value);

    // OK and Cancel. By default OK hands back okValue() and Cancel the
    // empty string.
    virtual void okClicked();
    virtual QString okValue() const { return QString(); }
    void cancelClicked();

    bool hasCallback() const { return static_cast<bool>(Callback); }

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The dialog's own controls that Tab reaches, in focus order.
    QList<QWidget*> focusableControls() const;

    TCallback Callback;
    qreal m_backdropOpacity;
    QFrame* m_panel = nullptr;
    QVBoxLayout* m_content = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace kyvane
