#include "ui/MessageBox.h"

#include "core/Version.h"
#include "ui/dialogs/MessageDialog.h"

#include <QMessageBox>

namespace kyvane {

namespace {
std::optional<MessageBox::Answer> g_nextAnswer;
QString g_lastText;
int g_shownCount = 0;
} // namespace

std::optional<MessageBox::Answer> MessageBox::takeNextAnswer(const QString& text)
{
    g_lastText = text;
    ++g_shownCount;
    const auto answer = g_nextAnswer;
    g_nextAnswer.reset();
    return answer;
}

bool MessageBox::askYesNo(QWidget* parent, const QString& text)
{
    if (const auto answer = takeNextAnswer(text))
        return *answer == Answer::Yes;
    if (parent)
        return MessageDialog::ask(parent, text, MessageDialog::Buttons::YesNo);
    return QMessageBox::question(nullptr, windowCaption(), text,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void MessageBox::inform(QWidget* parent, const QString& text)
{
    if (takeNextAnswer(text))
        return;
    // In the window's own look, inside the window; without one (before the
    // window exists) in the platform's.
    if (parent)
        MessageDialog::ask(parent, text, MessageDialog::Buttons::Ok);
    else
        QMessageBox::information(nullptr, windowCaption(), text, QMessageBox::Ok);
}

void MessageBox::setNextAnswer(Answer answer) { g_nextAnswer = answer; }

QString MessageBox::lastText() { return g_lastText; }

int MessageBox::shownCount() { return g_shownCount; }

} // namespace kyvane
