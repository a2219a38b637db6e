#include "i18n/SystemLanguage.h"

#include "i18n/LanguageRes.h"

#include <QLocale>

namespace kyvane {

int languageOfLocale(const QLocale& locale)
{
    if (locale.language() != QLocale::Chinese)
        return kLanguageEnglish;
    const QLocale::Territory territory = locale.territory();
    if (locale.script() == QLocale::TraditionalChineseScript || territory == QLocale::Taiwan ||
        territory == QLocale::HongKong || territory == QLocale::Macao)
        return kLanguageTraditionalChinese;
    return kLanguageSimplifiedChinese;
}

} // namespace kyvane
