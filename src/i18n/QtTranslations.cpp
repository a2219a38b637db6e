#include "i18n/QtTranslations.h"

#include "i18n/LanguageRes.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace kyvane {

namespace {

std::unique_ptr<QTranslator>& installed()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

} // namespace

bool installQtTranslations(int code)
{
    if (installed()) {
        QCoreApplication::removeTranslator(installed().get());
        installed().reset();
    }
    QString file;
    if (code == kLanguageTraditionalChinese)
        file = QStringLiteral("qtbase_zh_TW");
    else if (code == kLanguageSimplifiedChinese)
        file = QStringLiteral("qtbase_zh_CN");
    else
        return true; // Qt's texts are English
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(file, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(translator.get());
    installed() = std::move(translator);
    return true;
}

} // namespace kyvane
