#include "ui/screens/ExplorerScreen.h"

#include "ui/Icons.h"
#include "ui/ScreenHost.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace kyvane {

ExplorerScreen::ExplorerScreen(ScreenHost& host, std::atomic<bool>& cancelListing, QWidget* parent)
    : QWidget(parent), m_host(host), m_cancelListing(cancelListing)
{
    Button13 = new QToolButton(this);
    Button13->setObjectName(QStringLiteral("Button13"));
    Button13->setIcon(Icons::icon(QStringLiteral("back-dark")));
    Button13->setIconSize(QSize(24, 24));
    Button13->setFixedSize(40, 40);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumHeight(34);
    Button4 = new QToolButton(this);
    Button4->setObjectName(QStringLiteral("Button4"));
    Button4->setText(QStringLiteral(">"));
    Button4->setFixedSize(40, 40);

    auto* pathBar = new QHBoxLayout;
    pathBar->setContentsMargins(4, 4, 4, 4);
    pathBar->setSpacing(4);
    pathBar->addWidget(Button13);
    pathBar->addWidget(Edit1, 1);
    pathBar->addWidget(Button4);

    ListView1 = new QListWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setIconSize(QSize(48, 48));
    ListView1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    lblWait = new QLabel(QStringLiteral("Wait for a moment"), this);
    lblWait->setObjectName(QStringLiteral("lblWait"));
    lblWait->setAlignment(Qt::AlignCenter);
    lblWait->hide();

    auto* listArea = new QGridLayout;
    listArea->setContentsMargins(0, 0, 0, 0);
    listArea->addWidget(ListView1, 0, 0);
    listArea->addWidget(lblWait, 0, 0, Qt::AlignCenter);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(pathBar);
    column->addLayout(listArea, 1);
    // Listing a folder (Go up, Go, row clicks, select all/none, backup) comes
    // with the file explorer's listing.
}

QString ExplorerScreen::folder() const
{
    return Edit1->text();
}

void ExplorerScreen::setFolder(const QString& folder)
{
    Edit1->setText(folder);
}

} // namespace kyvane
