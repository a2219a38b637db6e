#pragma once

#include <QWidget>

#include <atomic>

class QLabel;
class QLineEdit;
class QListWidget;
class QToolButton;

namespace kyvane {

class ScreenHost;

// The file explorer: a path bar over the list of a folder's sub-folders and
// files, and a wait label while a folder is listed.
class ExplorerScreen final : public QWidget
{
    Q_OBJECT

public:
    // cancelListing is the window's flag that stops a listing under way.
    ExplorerScreen(ScreenHost& host, std::atomic<bool>& cancelListing, QWidget* parent = nullptr);

    QString folder() const;
    void setFolder(const QString& folder);

private:
    ScreenHost& m_host;
    std::atomic<bool>& m_cancelListing;

    QToolButton* Button13 = nullptr; // go up
    QLineEdit* Edit1 = nullptr;      // path field
    QToolButton* Button4 = nullptr;  // go
    QListWidget* ListView1 = nullptr;
    QLabel* lblWait = nullptr;
};

} // namespace kyvane
