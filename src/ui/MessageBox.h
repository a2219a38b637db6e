#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace kyvane {

// Every message and question of the window goes through here, so that tests
// can answer a dialog without showing it.
class MessageBox
{
public:
    enum class Answer { Yes, No, Ok };

    // A confirmation with the buttons Yes and No; true for Yes.
    static bool askYesNo(QWidget* parent, const QString& text);

    // A plain message with one OK button.
    static void inform(QWidget* parent, const QString& text);

    // Tests: the next dialog is not shown but answered with answer; its text
    // is kept for lastText().
    static void setNextAnswer(Answer answer);
    static QString lastText();
    static int shownCount();

private:
    static std::optional<Answer> takeNextAnswer(const QString& text);
};

} // namespace kyvane
