#pragma once

#include <QWidget>

class QListWidget;
class QListWidgetItem;

namespace kyvane {

class ScreenHost;

// The general settings: language, backup folders and file extensions.
class GeneralSettingsScreen final : public QWidget
{
    Q_OBJECT

public:
    explicit GeneralSettingsScreen(ScreenHost& host, QWidget* parent = nullptr);

    // The rows' texts; the language row's detail names the current language.
    void applyLanguage();

private:
    void ListBox4ItemClick(QListWidgetItem* item);

    ScreenHost& m_host;

    QListWidget* ListBox4 = nullptr;
    QListWidgetItem* language = nullptr;     // tag 2
    QListWidgetItem* whichfolder = nullptr;  // tag 0
    QListWidgetItem* whichfileext = nullptr; // tag 1
};

} // namespace kyvane
