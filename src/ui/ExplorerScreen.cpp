// The file explorer: its path bar, file list and wait label, and the side
// menu command that leads to the Queue screen.

#include "ui/Icons.h"
#include "ui/MainWindow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace kyvane {

void TForm1::buildExplorerPage(QWidget* page)
{
    Button13 = new QToolButton(page);
    Button13->setObjectName(QStringLiteral("Button13"));
    Button13->setIcon(Icons::icon(QStringLiteral("back-dark")));
    Button13->setIconSize(QSize(24, 24));
    Button13->setFixedSize(40, 40);
    Edit1 = new QLineEdit(page);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumHeight(34);
    Button4 = new QToolButton(page);
    Button4->setObjectName(QStringLiteral("Button4"));
    Button4->setText(QStringLiteral(">"));
    Button4->setFixedSize(40, 40);

    auto* pathBar = new QHBoxLayout;
    pathBar->setContentsMargins(4, 4, 4, 4);
    pathBar->setSpacing(4);
    pathBar->addWidget(Button13);
    pathBar->addWidget(Edit1, 1);
    pathBar->addWidget(Button4);

    ListView1 = new QListWidget(page);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setIconSize(QSize(48, 48));
    ListView1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    lblWait = new QLabel(QStringLiteral("Wait for a moment"), page);
    lblWait->setObjectName(QStringLiteral("lblWait"));
    lblWait->setAlignment(Qt::AlignCenter);
    lblWait->hide();

    auto* listArea = new QGridLayout;
    listArea->setContentsMargins(0, 0, 0, 0);
    listArea->addWidget(ListView1, 0, 0);
    listArea->addWidget(lblWait, 0, 0, Qt::AlignCenter);

    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(pathBar);
    column->addLayout(listArea, 1);
    // Listing a folder (Go up, Go, row clicks, select all/none, backup) comes
    // with the file explorer's listing.
}

void TForm1::btnQueueClick()
{
    imgRedSpot->hide();
    navMarker = FileExplorer;
    ChangeTab(Queue);
}

} // namespace kyvane
