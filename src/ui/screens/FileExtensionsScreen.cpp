#include "ui/screens/FileExtensionsScreen.h"

#include "i18n/LanguageRes.h"
#include "ui/ScreenHost.h"
#include "ui/widgets/SettingsParts.h"

#include <QListWidget>
#include <QPushButton>

namespace kyvane {

FileExtensionsScreen::FileExtensionsScreen(ScreenHost& host, QWidget* parent)
    : QWidget(parent), m_host(host)
{
    ListBox6 = settingsList(this, QStringLiteral("ListBox6"));
    btnAddExt = commandButton(this, QStringLiteral("btnAddExt"));
    btnDelExt = commandButton(this, QStringLiteral("btnDelExt"));
    listOverButtons(this, ListBox6, btnAddExt, btnDelExt);
}

void FileExtensionsScreen::applyLanguage()
{
    btnAddExt->setText(langText(25));
    btnDelExt->setText(langText(26));
}

} // namespace kyvane
