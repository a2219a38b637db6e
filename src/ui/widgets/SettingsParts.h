#pragma once

#include <QColor>
#include <QStringList>

#include <optional>

class QListWidget;
class QListWidgetItem;
class QPushButton;
class QString;
class QWidget;

namespace kyvane {

struct AppLists;

// The pieces the settings screens are made of.

// What a row of a settings list carries besides its text.
namespace row {
constexpr int Tag = Qt::UserRole;           // int: what the row stands for
constexpr int TagString = Qt::UserRole + 1; // QString
constexpr int Detail = Qt::UserRole + 2;    // QString shown beside or under the text
constexpr int More = Qt::UserRole + 3;      // bool: a chevron says the row opens more
constexpr int Name = Qt::UserRole + 4;      // QString: the name of a fixed row

// The settings list's first and last rows.
constexpr int GeneralSettingsTag = 999;
constexpr int AddServerTag = 888;
} // namespace row

// How a row looks: its height, its "Roboto" size in pixels, its text colour
// (the style's when none) and whether it carries a check box or a chevron.
struct RowLook
{
    int height;
    int fontPixels;
    std::optional<QColor> colour;
    bool checkable = false;
    bool more = false;
};

// Appends a row to list.
QListWidgetItem* addRow(QListWidget* list, const QString& text, int tag, const QString& tagString,
                        const RowLook& look);

// A list of rows that scrolls vertically only, drawn with the settings rows'
// detail and chevron.
QListWidget* settingsList(QWidget* parent, const QString& name);

QPushButton* commandButton(QWidget* parent, const QString& name);

// Lays out page as a list over a row of buttons, Add first and Delete last.
void listOverButtons(QWidget* page, QListWidget* list, std::initializer_list<QPushButton*> buttons);

// Lays out page as the list alone.
void listOnly(QWidget* page, QListWidget* list);

// The lists of folders and extensions: one blue row with a check box per
// entry, tagged with its index.
void fillCheckRows(QListWidget* list, const QStringList& entries);
void appendCheckRow(QListWidget* list, const QString& entry);
// Removes the checked rows, from the last to the first.
void removeCheckedRows(QListWidget* list);
QStringList rowTexts(const QListWidget* list);

// Stores the texts of the rows as one list of lists: store writes fileName
// and keeps the list held in member unchanged when it fails. Then the user
// is told, and the rows are built again from that list, so that they show
// what the next start will find. True when stored.
bool storeRows(QListWidget* list, AppLists& lists, const QString& fileName,
               QString (AppLists::*store)(const QStringList&), QStringList AppLists::*member);

// Tells the user that fileName could not be written, when error says so.
// True when there was no error.
bool settingsSaved(QWidget* parent, const QString& fileName, const QString& error);

} // namespace kyvane
