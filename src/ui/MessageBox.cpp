#include "ui/MessageBox.h"

#include "core/Version.h"

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
    return QMessageBox::question(parent, windowCaption(), text,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void MessageBox::inform(QWidget* parent, const QString& text)
{
    if (takeNextAnswer(text))
        return;
    QMessageBox::information(parent, windowCaption(), text, QMessageBox::Ok);
}

void MessageBox::setNextAnswer(Answer answer) { g_nextAnswer = answer; }

QString MessageBox::lastText() { return g_lastText; }

int MessageBox::shownCount() { return g_shownCount; }

} // namespace kyvane
