#pragma once

#include "ui/dialogs/DialogBase.h"

class QLabel;

namespace kyvane {

// Asks a yes-or-no question: OK hands back "OK", Cancel the empty string.
class TfrmConfirm final : public DialogBase
{
    Q_OBJECT

public:
    explicit TfrmConfirm(QWidget* window);

    // Replaces the question.
    void SetCaption(const QString& msg);

    void applyLanguage() override;

protected:
    QString okValue() const override { return QStringLiteral("OK"); }

private:
    QLabel* Label6 = nullptr;
};

} // namespace kyvane
