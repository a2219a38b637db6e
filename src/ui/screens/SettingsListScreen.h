#pragma once

#include <QWidget>

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace kyvane {

class ScreenHost;

// The settings list: general settings, one row per backup server, and the
// row that adds a server.
class SettingsListScreen final : public QWidget
{
    Q_OBJECT

public:
    explicit SettingsListScreen(ScreenHost& host, QWidget* parent = nullptr);

    // Builds the rows again from the server list: general settings (tag
    // 999), one row per server (its index), add server (888). No row is
    // selected afterwards.
    void prepareSettings();

    // The text of the selected row; empty when none is selected.
    QString selectedRowText() const;

private:
    void ListBox3ItemClick(QListWidgetItem* item);

    ScreenHost& m_host;

    QListWidget* ListBox3 = nullptr;
    QPushButton* Button8 = nullptr; // never shown
};

} // namespace kyvane
