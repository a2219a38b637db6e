#pragma once

#include "ui/MainWindow.h"
#include "ui/widgets/SideMenu.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

// Small helpers for the tests that drive the main window.

// The control of the window named name, or null when there is none.
template <typename T = QWidget> T* control(const kyvane::TForm1& form, const QString& name)
{
    return form.findChild<T*>(name);
}

// Releases key on receiver the way the window system does and tells whether
// the window consumed it.
inline bool releaseKey(QWidget* receiver, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                       bool autoRepeat = false)
{
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, QString(), autoRepeat);
    QApplication::sendEvent(receiver, &release);
    return release.isAccepted();
}

// A job's entries: server entry | file path, one per file.
inline QStringList jobEntries(const QString& server, int files)
{
    QStringList entries;
    for (int i = 0; i < files; ++i)
        entries << server +
                       QStringLiteral("|25714|anna|0cc175b9c0f1b6a831c399e269772661|/pics/f%1.jpg")
                           .arg(i);
    return entries;
}

// Opens the Queue screen's side menu and presses one of its buttons.
inline void pressQueueCommand(kyvane::TForm1& form, const QString& button)
{
    if (form.currentTabIndex() != kyvane::TForm1::Queue)
        form.ChangeTab(kyvane::TForm1::Queue);
    auto* menu = control<kyvane::SideMenu>(form, QStringLiteral("MultiView2"));
    if (!menu->isOpen())
        control<QToolButton>(form, QStringLiteral("Button6"))->click();
    QVERIFY(menu->isOpen());
    auto* command = control<QPushButton>(form, button);
    QVERIFY(command && command->isEnabled());
    command->click();
}
