#pragma once

#include <QWidget>

class QListWidget;
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

    // The text of the selected row; empty when none is selected.
    QString selectedRowText() const;

private:
    ScreenHost& m_host;

    QListWidget* ListBox3 = nullptr;
    QPushButton* Button8 = nullptr; // never shown
};

} // namespace kyvane
