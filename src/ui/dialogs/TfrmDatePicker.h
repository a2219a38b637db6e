#pragma once

#include "ui/dialogs/DialogBase.h"

class QDateEdit;
class QLabel;

namespace kyvane {

// Asks for a range of days and hands back "From-To", each "YYYY/MM/DD".
// A range whose start lies after its end is refused, and the dialog stays.
class TfrmDatePicker final : public DialogBase
{
    Q_OBJECT

public:
    explicit TfrmDatePicker(QWidget* window);

    void applyLanguage() override;

protected:
    void FormShow() override;
    void okClicked() override;

private:
    QLabel* Label1 = nullptr;
    QDateEdit* DateEdit1 = nullptr;
    QLabel* Label2 = nullptr;
    QDateEdit* DateEdit2 = nullptr;
};

} // namespace kyvane
