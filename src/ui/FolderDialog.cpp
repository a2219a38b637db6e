#include "ui/FolderDialog.h"

#include <QFileDialog>

#include <optional>

namespace kyvane {

namespace {
std::optional<QString> g_nextAnswer;
QString g_lastTitle;
} // namespace

QString FolderDialog::getExistingDirectory(QWidget* parent, const QString& title)
{
    g_lastTitle = title;
    if (g_nextAnswer) {
        const QString answer = *g_nextAnswer;
        g_nextAnswer.reset();
        return answer;
    }
    return QFileDialog::getExistingDirectory(parent, title, QString());
}

void FolderDialog::setNextAnswer(const QString& folder)
{
    g_nextAnswer = folder;
}

QString FolderDialog::lastTitle()
{
    return g_lastTitle;
}

} // namespace kyvane
