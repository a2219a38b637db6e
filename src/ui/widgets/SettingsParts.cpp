#include "ui/widgets/SettingsParts.h"

#include "core/AppLists.h"
#include "i18n/ExtraTexts.h"
#include "ui/MessageBox.h"
#include "ui/widgets/RowDelegate.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kyvane {

namespace {

const RowLook kCheckRow{40, 18, QColor(0xFF0000FFu), true, false};

} // namespace

QListWidgetItem* addRow(QListWidget* list, const QString& text, int tag, const QString& tagString,
                        const RowLook& look)
{
    auto* item = new QListWidgetItem(text, list);
    item->setData(row::Tag, tag);
    item->setData(row::TagString, tagString);
    item->setData(row::More, look.more);
    QFont font(QStringLiteral("Roboto"));
    font.setPixelSize(look.fontPixels);
    item->setFont(font);
    if (look.colour)
        item->setForeground(*look.colour);
    item->setTextAlignment(Qt::AlignLeading | Qt::AlignVCenter);
    item->setSizeHint(QSize(0, look.height));
    if (look.checkable) {
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    return item;
}

QListWidget* settingsList(QWidget* parent, const QString& name)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setItemDelegate(new RowDelegate(RowDelegate::DetailBeside, list));
    return list;
}

QPushButton* commandButton(QWidget* parent, const QString& name)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    return button;
}

void listOverButtons(QWidget* page, QListWidget* list, std::initializer_list<QPushButton*> buttons)
{
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(10, 8, 10, 10);
    bar->setSpacing(10);
    for (QPushButton* button : buttons)
        bar->addWidget(button, 1);
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(list, 1);
    column->addLayout(bar);
}

void listOnly(QWidget* page, QListWidget* list)
{
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(list);
}

void fillCheckRows(QListWidget* list, const QStringList& entries)
{
    list->clear();
    for (const QString& entry : entries)
        appendCheckRow(list, entry);
}

void appendCheckRow(QListWidget* list, const QString& entry)
{
    addRow(list, entry, list->count(), entry, kCheckRow);
}

void removeCheckedRows(QListWidget* list)
{
    for (int i = list->count() - 1; i >= 0; --i) {
        if (list->item(i)->checkState() == Qt::Checked)
            delete list->takeItem(i);
    }
}

QStringList rowTexts(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

bool storeRows(QListWidget* list, AppLists& lists, const QString& fileName,
               QString (AppLists::*store)(const QStringList&), QStringList AppLists::*member)
{
    if (settingsSaved(list->window(), fileName, (lists.*store)(rowTexts(list))))
        return true;
    fillCheckRows(list, lists.*member);
    return false;
}

bool settingsSaved(QWidget* parent, const QString& fileName, const QString& error)
{
    if (error.isEmpty())
        return true;
    MessageBox::inform(parent, extraText(ExtraText::SettingsNotSaved).arg(fileName, error));
    return false;
}

} // namespace kyvane
