#pragma once

#include "ui/dialogs/DialogBase.h"

#include <QIcon>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QToolButton;

namespace kyvane {

// Walks the folder tree one level at a time and hands back the folder that
// is open: OK the folder shown, Cancel the empty string. Every showing
// starts at the pictures folder.
class TfrmChooseFolder final : public DialogBase
{
    Q_OBJECT

public:
    explicit TfrmChooseFolder(QWidget* window);

    // Makes path_tr the open folder: shows it and lists its sub-folders in
    // place of the rows shown.
    void TotalWork2(const QString& path_tr);

protected:
    void FormShow() override;
    QString okValue() const override;

private:
    // One row per path of list: the folder image, the name, the full path
    // under it. Only folders are ever listed.
    void AddListItem(const QStringList& list);
    // Opens the tapped sub-folder, or removes its row when it is gone.
    void ListBox1ItemClick(QListWidgetItem* item);
    // One level up; the root lists itself again.
    void Button3Click();
    // Goes to the path shown (the button is hidden).
    void Button4Click();

    QIcon m_folderIcon;
    QToolButton* Button3 = nullptr; // up
    QLineEdit* Edit1 = nullptr;     // the open folder, read-only
    QPushButton* Button4 = nullptr; // go, never shown
    QListWidget* ListBox1 = nullptr;
};

} // namespace kyvane
