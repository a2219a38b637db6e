#include "ui/dialogs/TfrmInputExt.h"

#include "i18n/LanguageRes.h"
#include "transfer/WireFormat.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace kyvane {

TfrmInputExt::TfrmInputExt(QWidget* window)
    : DialogBase(window, QStringLiteral("Input File Extension"), QStringLiteral("btnOK"),
                 QStringLiteral("btnCancel"))
{
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    edtFileExt = new QLineEdit(this);
    edtFileExt->setObjectName(QStringLiteral("edtFileExt"));
    edtFileExt->setInputMethodHints(Qt::ImhPreferLowercase | Qt::ImhNoPredictiveText);
    content()->addWidget(Label1);
    content()->addWidget(edtFileExt);
    Label1->setBuddy(edtFileExt);
    applyLanguage();
}

QString TfrmInputExt::normalise(const QString& typed)
{
    QString ext = wire::trimControls(typed);
    for (QChar& c : ext) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    if (ext.isEmpty())
        return ext;
    if (ext.startsWith(QLatin1String("*.")))
        return ext.mid(1);
    if (!ext.startsWith(QLatin1Char('.')))
        ext.prepend(QLatin1Char('.'));
    return ext;
}

void TfrmInputExt::applyLanguage()
{
    DialogBase::applyLanguage();
    Label1->setText(langText(29));
}

void TfrmInputExt::FormShow()
{
    edtFileExt->clear();
}

QString TfrmInputExt::okValue() const
{
    return normalise(edtFileExt->text());
}

} // namespace kyvane
