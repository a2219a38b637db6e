#include "ui/dialogs/MessageDialog.h"

#include "core/Version.h"
#include "i18n/ExtraTexts.h"

#include <QEventLoop>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace kyvane {

MessageDialog::MessageDialog(QWidget* window, const QString& text, Buttons buttons)
    : DialogBase(window, windowCaption(), QStringLiteral("btnMessageOk"),
                 QStringLiteral("btnMessageNo")),
      m_buttons(buttons)
{
    setObjectName(QStringLiteral("MessageDialog"));
    lblMessage = new QLabel(text, this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setTextFormat(Qt::PlainText);
    lblMessage->setWordWrap(true);
    lblMessage->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblMessage->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblMessage->setFocusPolicy(Qt::NoFocus);
    content()->addWidget(lblMessage);
    cancelButton()->setVisible(buttons == Buttons::YesNo);
    setAccessibleName(text);
    applyLanguage();
}

void MessageDialog::applyLanguage()
{
    if (m_buttons == Buttons::YesNo) {
        okButton()->setText(extraText(ExtraText::Yes));
        cancelButton()->setText(extraText(ExtraText::No));
    } else {
        DialogBase::applyLanguage();
    }
}

bool MessageDialog::ask(QWidget* parent, const QString& text, Buttons buttons)
{
    QWidget* window = parent->window();
    QPointer<MessageDialog> dialog = new MessageDialog(window, text, buttons);
    QPointer<QWidget> focused = window->focusWidget();
    bool accepted = false;
    QEventLoop loop;
    // The window may go while the question waits (the program ends).
    connect(dialog, &QObject::destroyed, &loop, &QEventLoop::quit);
    dialog->open([&accepted, &loop](const QString& value) {
        accepted = !value.isEmpty();
        loop.quit();
    });
    loop.exec();
    if (dialog)
        dialog->deleteLater();
    if (focused)
        focused->setFocus();
    return accepted;
}

} // namespace kyvane
