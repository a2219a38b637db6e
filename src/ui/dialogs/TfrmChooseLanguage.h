#pragma once

#include "ui/dialogs/DialogBase.h"

class QRadioButton;

namespace kyvane {

// Asks for the interface language; hands back its code "0", "100" or
// "200".
class TfrmChooseLanguage final : public DialogBase
{
    Q_OBJECT

public:
    explicit TfrmChooseLanguage(QWidget* window);

protected:
    void FormShow() override;
    QString okValue() const override;

private:
    QRadioButton* radioEnglish = nullptr;
    QRadioButton* radioCHT = nullptr;
    QRadioButton* radioGBK = nullptr;
};

} // namespace kyvane
