#include "ui/FolderDialog.h"

#include <QFileDialog>

#include <optional>

namespace kyvane {

namespace {
std::optional<QString> g_nextAnswer;
QString g_lastTitle;
QString g_lastStartFolder;
} // namespace

QString FolderDialog::getExistingDirectory(QWidget* parent, const QString& title,
                                           const QString& startFolder)
{
    g_lastTitle = title;
    g_lastStartFolder = startFolder;
    if (g_nextAnswer) {
        const QString answer = *g_nextAnswer;
        g_nextAnswer.reset();
        return answer;
    }
    return QFileDialog::getExistingDirectory(parent, title, startFolder);
}

void FolderDialog::setNextAnswer(const QString& folder)
{
    g_nextAnswer = folder;
}

QString FolderDialog::lastTitle()
{
    return g_lastTitle;
}

QString FolderDialog::lastStartFolder()
{
    return g_lastStartFolder;
}

} // namespace kyvane
