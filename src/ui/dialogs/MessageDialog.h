#pragma once

#include "ui/dialogs/DialogBase.h"

class QLabel;

namespace kyvane {

// A message or a yes-or-no question in the window's own dialog look: over
// the window it belongs to, its text wrapped to the panel, its buttons in the
// current language. Made for one showing.
class MessageDialog final : public DialogBase
{
    Q_OBJECT

public:
    enum class Buttons { Ok, YesNo };

    MessageDialog(QWidget* window, const QString& text, Buttons buttons);

    // Shows text over the window of parent and returns once it is answered:
    // true for OK or Yes. Events go on meanwhile, as with any modal message.
    static bool ask(QWidget* parent, const QString& text, Buttons buttons);

    void applyLanguage() override;

protected:
    QString okValue() const override { return QStringLiteral("ok"); }

private:
    Buttons m_buttons;
    QLabel* lblMessage = nullptr;
};

} // namespace kyvane
