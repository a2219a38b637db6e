#pragma once

#include <QWidget>

class QListWidget;
class QPushButton;

namespace kyvane {

class ScreenHost;

// The file extensions that count as media files.
class FileExtensionsScreen final : public QWidget
{
    Q_OBJECT

public:
    explicit FileExtensionsScreen(ScreenHost& host, QWidget* parent = nullptr);

    void applyLanguage();

private:
    ScreenHost& m_host;

    QListWidget* ListBox6 = nullptr;
    QPushButton* btnAddExt = nullptr;
    QPushButton* btnDelExt = nullptr;
};

} // namespace kyvane
