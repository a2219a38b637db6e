#pragma once

#include "ui/dialogs/DialogBase.h"

class QLabel;
class QLineEdit;

namespace kyvane {

// Asks for one file extension and hands it back normalised: ".jpg" for
// " JPG ", "*.PNG" or "jpg".
class TfrmInputExt final : public DialogBase
{
    Q_OBJECT

public:
    explicit TfrmInputExt(QWidget* window);

    // Blanks and control characters cut at both ends, A to Z lower-cased,
    // a leading "*" dropped before ".", a "." put in front where missing.
    // Empty stays empty.
    static QString normalise(const QString& typed);

    void applyLanguage() override;

protected:
    void FormShow() override;
    QString okValue() const override;

private:
    QLabel* Label1 = nullptr;
    QLineEdit* edtFileExt = nullptr;
};

} // namespace kyvane
