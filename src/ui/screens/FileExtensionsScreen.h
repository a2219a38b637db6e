#pragma once

#include <QWidget>

class QListWidget;
class QPushButton;

namespace kyvane {

class EmptyListHint;

class ScreenHost;

// The file extensions that count as media files.
class FileExtensionsScreen final : public QWidget
{
    Q_OBJECT

public:
    explicit FileExtensionsScreen(ScreenHost& host, QWidget* parent = nullptr);

    // Builds the rows from the extension list.
    void PrepareExtList();

    void applyLanguage();

private:
    void btnAddExtClick();
    void InputExtCallBack(const QString& AselectedItem);
    void btnDelExtClick();
    // FileExt.cfg and the extension list from the rows.
    void storeRows();

    ScreenHost& m_host;

    QListWidget* ListBox6 = nullptr;
    EmptyListHint* lblExtensionsEmpty = nullptr; // what to do while the list is empty
    QPushButton* btnAddExt = nullptr;
    QPushButton* btnDelExt = nullptr;
};

} // namespace kyvane
