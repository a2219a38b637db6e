#include "ui/dialogs/TfrmChooseLanguage.h"

#include "i18n/LanguageRes.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kyvane {

TfrmChooseLanguage::TfrmChooseLanguage(QWidget* window)
    : DialogBase(window, QStringLiteral("Choose Language"), QStringLiteral("Button1"),
                 QStringLiteral("Button2"))
{
    // Each language is named in itself, whatever the current one.
    auto radio = [this](const QString& name, const QString& text) {
        auto* button = new QRadioButton(text, this);
        button->setObjectName(name);
        content()->addWidget(button);
        return button;
    };
    radioEnglish = radio(QStringLiteral("radioEnglish"), QStringLiteral("English"));
    radioCHT = radio(QStringLiteral("radioCHT"), QStringLiteral("繁體中文"));
    radioGBK = radio(QStringLiteral("radioGBK"), QStringLiteral("简体中文"));
    auto* group = new QButtonGroup(this);
    for (QRadioButton* button : {radioEnglish, radioCHT, radioGBK})
        group->addButton(button);
}

void TfrmChooseLanguage::FormShow()
{
    switch (currentLanguage()) {
    case kLanguageTraditionalChinese:
        radioCHT->setChecked(true);
        break;
    case kLanguageSimplifiedChinese:
        radioGBK->setChecked(true);
        break;
    default:
        radioEnglish->setChecked(true);
        break;
    }
}

QString TfrmChooseLanguage::okValue() const
{
    if (radioCHT->isChecked())
        return QString::number(kLanguageTraditionalChinese);
    if (radioGBK->isChecked())
        return QString::number(kLanguageSimplifiedChinese);
    return QString::number(kLanguageEnglish);
}

} // namespace kyvane
