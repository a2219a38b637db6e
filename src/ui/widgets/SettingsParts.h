#pragma once

class QListWidget;
class QPushButton;
class QString;
class QWidget;

namespace kyvane {

// The pieces the settings screens are made of.

// A list of rows that scrolls vertically only.
QListWidget* settingsList(QWidget* parent, const QString& name);

QPushButton* commandButton(QWidget* parent, const QString& name);

// Lays out page as a list over a row of two buttons, Add and Delete.
void listOverButtons(QWidget* page, QListWidget* list, QPushButton* add, QPushButton* del);

// Lays out page as the list alone.
void listOnly(QWidget* page, QListWidget* list);

} // namespace kyvane
