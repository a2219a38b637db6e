#include "ui/dialogs/TfrmConfirm.h"

#include "i18n/LanguageRes.h"

#include <QLabel>
#include <QVBoxLayout>

namespace kyvane {

TfrmConfirm::TfrmConfirm(QWidget* window)
    : DialogBase(window, QStringLiteral("Confirm"), QStringLiteral("Button1"),
                 QStringLiteral("Button2"))
{
    Label6 = new QLabel(this);
    Label6->setObjectName(QStringLiteral("Label6"));
    Label6->setAlignment(Qt::AlignCenter);
    Label6->setWordWrap(false);
    content()->addWidget(Label6);
    applyLanguage();
}

void TfrmConfirm::SetCaption(const QString& msg)
{
    Label6->setText(msg);
}

void TfrmConfirm::applyLanguage()
{
    DialogBase::applyLanguage();
    Label6->setText(langText(31));
}

} // namespace kyvane
