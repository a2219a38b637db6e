#pragma once

#include <QWidget>

class QListWidget;

namespace kyvane {

class ScreenHost;

// The general settings: language, backup folders and file extensions.
class GeneralSettingsScreen final : public QWidget
{
    Q_OBJECT

public:
    explicit GeneralSettingsScreen(ScreenHost& host, QWidget* parent = nullptr);

private:
    ScreenHost& m_host;

    QListWidget* ListBox4 = nullptr;
};

} // namespace kyvane
