#include "ui/widgets/SettingsParts.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kyvane {

QListWidget* settingsList(QWidget* parent, const QString& name)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return list;
}

QPushButton* commandButton(QWidget* parent, const QString& name)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    return button;
}

void listOverButtons(QWidget* page, QListWidget* list, QPushButton* add, QPushButton* del)
{
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(10, 8, 10, 10);
    buttons->setSpacing(10);
    buttons->addWidget(add, 1);
    buttons->addWidget(del, 1);
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(list, 1);
    column->addLayout(buttons);
}

void listOnly(QWidget* page, QListWidget* list)
{
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(list);
}

} // namespace kyvane
