// Switching screens, the Back action, the side menus and the hardware Back
// key of the main window.

#include "i18n/ExtraTexts.h"
#include "i18n/LanguageRes.h"
#include "ui/BackKey.h"
#include "ui/MainWindow.h"
#include "ui/dialogs/DialogBase.h"
#include "ui/screens/ExplorerScreen.h"
#include "ui/screens/HistoryScreen.h"
#include "ui/screens/JobDetailsScreen.h"
#include "ui/screens/SettingsListScreen.h"
#include "ui/widgets/FittingLabel.h"
#include "ui/widgets/SideMenu.h"
#include "ui/widgets/SlideTabControl.h"

#include <QKeyEvent>
#include <QToolButton>

#include <algorithm>

namespace kyvane {

namespace {

// The language key of each screen's header title; the server editor's title
// is the selected row of the settings list instead.
int headerTitleKey(int index)
{
    switch (index) {
    case TForm1::SettingsList:
        return 6;
    case TForm1::FileExplorer:
        return 22;
    case TForm1::Queue:
        return 7;
    case TForm1::GeneralSettings:
        return 8;
    case TForm1::BackupFolders:
        return 23;
    case TForm1::FileExtensions:
        return 24;
    case TForm1::JobLog:
        return 44;
    default:
        return -1;
    }
}

} // namespace

int TForm1::currentTabIndex() const
{
    return TabControl1->currentIndex();
}

void TForm1::ChangeTab(int index)
{
    if (index < 0 || index >= ScreenCount)
        return;

    switch (index) {
    case Home:
        TabControl1->setCurrentIndex(index);
        // Files arrive and folders change while the user is elsewhere.
        recountTodayFiles();
        closeSideMenus();
        Label5->hide();
        Button2->hide();
        Button6->hide();
        SpeedButton1->hide();
        Label1->show();
        return;

    case FileExplorer:
        TabControl1->setCurrentIndex(index);
        m_explorer->TotalWork(m_explorer->folder());
        Button2->show();
        Button6->hide();
        break;

    case Queue:
        hideQueueMarker();
        // The failed job shows there why.
        m_statusLine.queueOpened();
        showStatusBar();
        TabControl1->setCurrentIndex(index);
        Button2->hide();
        Button6->show();
        break;

    case History:
        m_history->refresh();
        TabControl1->setCurrentIndex(index);
        Button2->hide();
        Button6->hide();
        break;

    default: // the settings screens, the server editor and the job details
        TabControl1->setCurrentIndex(index);
        Button2->hide();
        Button6->hide();
        break;
    }

    Label1->hide();
    if (index == ServerEditor)
        setHeaderTitle(m_settingsList->selectedRowText());
    else if (index == History)
        setHeaderTitle(extraText(ExtraText::History));
    else
        setHeaderTitle(langText(headerTitleKey(index)));
    closeSideMenus();
    SpeedButton1->show();
}

void TForm1::setHeaderTitle(const QString& title)
{
    Label5->setText(title);
    Label5->show();
}

void TForm1::hideSideMenu(SideMenu* menu)
{
    menu->setVisible(false);
    menu->setEnabled(false);
}

void TForm1::closeSideMenus()
{
    for (SideMenu* menu : {MultiView1, MultiView2}) {
        menu->closeDrawer();
        hideSideMenu(menu);
    }
}

void TForm1::SpeedButton1Click()
{
    BackAction();
}

void TForm1::Button1Click()
{
    BackAction();
}

void TForm1::BackAction()
{
    cancelListing = true;
    const int current = currentTabIndex();
    switch (current) {
    case Home:
        return;
    case SettingsList:
    case FileExplorer:
        navMarker = current;
        ChangeTab(Home);
        return;
    case Queue:
        hideQueueMarker();
        ChangeTab(navMarker == FileExplorer ? FileExplorer : Home);
        return;
    case ServerEditor:
    case GeneralSettings:
        navMarker = current;
        ChangeTab(SettingsList);
        return;
    case BackupFolders:
    case FileExtensions:
        navMarker = current;
        ChangeTab(GeneralSettings);
        return;
    case JobLog:
        m_jobLog->clear();
        navMarker = current;
        ChangeTab(m_detailsReturn);
        m_detailsReturn = Queue;
        return;
    case History:
        navMarker = current;
        ChangeTab(Queue);
        return;
    default:
        return;
    }
}

void TForm1::toggleSideMenu(SideMenu* menu)
{
    if (menu->isOpen()) {
        hideSideMenu(menu);
        menu->closeDrawer();
    } else {
        menu->setVisible(true);
        menu->setEnabled(true);
        menu->openDrawer();
    }
}

void TForm1::Button2Click()
{
    cancelListing = true;
    if (currentTabIndex() == FileExplorer)
        toggleSideMenu(MultiView1);
}

void TForm1::Button6Click()
{
    if (currentTabIndex() == Queue)
        toggleSideMenu(MultiView2);
}

void TForm1::MultiView1Hidden()
{
    hideSideMenu(MultiView1);
}

void TForm1::MultiView2Hidden()
{
    hideSideMenu(MultiView2);
}

void TForm1::btnHistoryClick()
{
    closeSideMenus();
    ChangeTab(History);
}

void TForm1::TabControl1Change()
{
    if (currentTabIndex() == Home) {
        SpeedButton1->hide();
        Button2->hide();
        Button6->hide();
    }
}

void TForm1::FormKeyUp(int& key, Qt::KeyboardModifiers shift, bool autoRepeat)
{
    cancelListing = true;
    // Escape closes an open side menu, as a tap beside it does.
    if (key == Qt::Key_Escape && !dialogOpen() &&
        (MultiView1->isVisible() || MultiView2->isVisible())) {
        closeSideMenus();
        key = 0;
        return;
    }
    // While a dialog lies over the screens, the Back key is the dialog's.
    if (!isBackKey(key, shift) || dialogOpen())
        return;
    const int current = currentTabIndex();
    if (current == Home)
        return; // the platform's own handling applies
    key = 0;
    // A held key repeats its release; it goes back one screen only.
    if (autoRepeat)
        return;
    if (current == FileExplorer) {
        // The parent folder of the path; the screen never changes.
        m_explorer->BackKey();
        return;
    }
    Button1Click();
}

bool TForm1::dialogOpen() const
{
    const auto dialogs = findChildren<DialogBase*>(Qt::FindDirectChildrenOnly);
    return std::any_of(dialogs.cbegin(), dialogs.cend(),
                       [](const DialogBase* dialog) { return dialog->isVisible(); });
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    // Every key release in the window stops a listing under way, also one a
    // control takes for itself and never passes up to the window.
    if (event->type() == QEvent::KeyRelease && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        cancelListing = true;
        // The Back key is the window's even where a control would keep its
        // release (a line edit does): it is handled before the control. While
        // a dialog is open it goes on to the dialog, which it closes.
        auto* release = static_cast<QKeyEvent*>(event);
        if (watched != this && isBackKey(release->key(), release->modifiers()) && !dialogOpen()) {
            int key = release->key();
            FormKeyUp(key, release->modifiers(), release->isAutoRepeat());
            if (key == 0) {
                release->accept();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::keyReleaseEvent(QKeyEvent* event)
{
    int key = event->key();
    FormKeyUp(key, event->modifiers(), event->isAutoRepeat());
    if (key == 0)
        event->accept();
    else
        QWidget::keyReleaseEvent(event);
}

} // namespace kyvane
