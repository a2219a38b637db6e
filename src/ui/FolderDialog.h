#pragma once

#include <QString>

class QWidget;

namespace kyvane {

// The platform's folder selection dialog, through one place that tests can
// answer without showing a dialog.
class FolderDialog
{
public:
    // The folder the user chose, starting in startFolder; the empty string
    // when they cancelled.
    static QString getExistingDirectory(QWidget* parent, const QString& title,
                                        const QString& startFolder);

    // Tests: the next dialog is not shown but answered with folder (the
    // empty string cancels); its title is kept for lastTitle().
    static void setNextAnswer(const QString& folder);
    static QString lastTitle();
    static QString lastStartFolder();
};

} // namespace kyvane
