#pragma once

#include "TempProgramFolder.h"
#include "UiTestHelpers.h"
#include "ui/widgets/SettingsParts.h"

#include <QListWidget>
#include <QtTest>

#include <memory>

// Files of the program folder: name and content.
using Files = QList<std::pair<QString, QByteArray>>;

// A main window shown on a program folder that holds the given files when
// the window starts.
struct SettingsWindow
{
    TempProgramFolder folder;
    std::unique_ptr<kyvane::TForm1> form;

    explicit SettingsWindow(const Files& files = {})
    {
        for (const auto& [name, content] : files)
            folder.write(name, content);
        form = std::make_unique<kyvane::TForm1>();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }

    QListWidget* list(const char* name) const
    {
        return control<QListWidget>(*form, QString::fromLatin1(name));
    }
};

// A list file's bytes: BOM, then each line with CR LF.
inline QByteArray listBytes(const QStringList& lines)
{
    QByteArray bytes("\xEF\xBB\xBF");
    for (const QString& line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

inline QStringList texts(const QListWidget* list)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        result << list->item(i)->text();
    return result;
}

inline QList<int> tags(const QListWidget* list)
{
    QList<int> result;
    for (int i = 0; i < list->count(); ++i)
        result << list->item(i)->data(kyvane::row::Tag).toInt();
    return result;
}

// Taps a row the way a user does.
inline void clickRow(QListWidget* list, int row)
{
    QVERIFY(row < list->count());
    QListWidgetItem* item = list->item(row);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualItemRect(item).center());
}

// Checks the rows at the given places.
inline void checkRows(QListWidget* list, const QList<int>& rows)
{
    for (const int row : rows)
        list->item(row)->setCheckState(Qt::Checked);
}
