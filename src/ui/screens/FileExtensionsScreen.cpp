#include "ui/screens/FileExtensionsScreen.h"

#include "core/AppLists.h"
#include "i18n/ExtraTexts.h"
#include "i18n/LanguageRes.h"
#include "ui/MessageBox.h"
#include "ui/ScreenHost.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/dialogs/TfrmInputExt.h"
#include "ui/widgets/EmptyListHint.h"
#include "ui/widgets/SettingsParts.h"

#include <QListWidget>
#include <QPushButton>

namespace kyvane {

FileExtensionsScreen::FileExtensionsScreen(ScreenHost& host, QWidget* parent)
    : QWidget(parent), m_host(host)
{
    ListBox6 = settingsList(this, QStringLiteral("ListBox6"));
    lblExtensionsEmpty = new EmptyListHint(ListBox6, [this] { return ListBox6->count() == 0; });
    lblExtensionsEmpty->setObjectName(QStringLiteral("lblExtensionsEmpty"));
    btnAddExt = commandButton(this, QStringLiteral("btnAddExt"));
    btnDelExt = commandButton(this, QStringLiteral("btnDelExt"));
    listOverButtons(this, ListBox6, {btnAddExt, btnDelExt});
    connect(btnAddExt, &QPushButton::clicked, this, &FileExtensionsScreen::btnAddExtClick);
    connect(btnDelExt, &QPushButton::clicked, this, &FileExtensionsScreen::btnDelExtClick);
}

void FileExtensionsScreen::PrepareExtList()
{
    fillCheckRows(ListBox6, m_host.appLists().extensions);
}

void FileExtensionsScreen::applyLanguage()
{
    lblExtensionsEmpty->setHint(extraText(ExtraText::ExtensionsEmptyHint));
    btnAddExt->setText(langText(25));
    btnDelExt->setText(langText(26));
}

void FileExtensionsScreen::btnAddExtClick()
{
    m_host.dialogs().inputExt->open(
        [this](const QString& AselectedItem) { InputExtCallBack(AselectedItem); });
}

void FileExtensionsScreen::InputExtCallBack(const QString& AselectedItem)
{
    if (!AselectedItem.isEmpty()) {
        // ".heic" and "heic" are one extension once normalised.
        if (m_host.appLists().holdsExtension(AselectedItem))
            MessageBox::inform(window(),
                               extraText(ExtraText::ExtensionAlreadyListed).arg(AselectedItem));
        else
            appendCheckRow(ListBox6, AselectedItem);
    }
    // Cancel too writes the file, so a missing FileExt.cfg appears holding
    // the extensions in use.
    storeRows();
}

void FileExtensionsScreen::btnDelExtClick()
{
    removeCheckedRows(ListBox6);
    storeRows();
}

void FileExtensionsScreen::storeRows()
{
    if (kyvane::storeRows(ListBox6, m_host.appLists(), AppLists::kExtensionFile,
                          &AppLists::storeExtensions, &AppLists::extensions))
        m_host.recountTodayFiles();
}

} // namespace kyvane
