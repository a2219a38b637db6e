#include "ui/dialogs/TfrmDatePicker.h"

#include "i18n/LanguageRes.h"
#include "ui/MessageBox.h"

#include <QDateEdit>
#include <QLabel>
#include <QVBoxLayout>

namespace kyvane {

namespace {

// Day form whatever the locale: fixed widths, most significant first, so
// two of them compare as dates character by character.
const QString kDayForm = QStringLiteral("yyyy/MM/dd");

QDateEdit* dateEdit(QWidget* parent, const QString& name)
{
    auto* edit = new QDateEdit(parent);
    edit->setObjectName(name);
    edit->setDisplayFormat(kDayForm);
    edit->setCalendarPopup(true);
    return edit;
}

} // namespace

TfrmDatePicker::TfrmDatePicker(QWidget* window)
    : DialogBase(window, QStringLiteral("Date Picker"), QStringLiteral("Button1"),
                 QStringLiteral("Button2"), 0.4)
{
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    DateEdit1 = dateEdit(this, QStringLiteral("DateEdit1"));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    DateEdit2 = dateEdit(this, QStringLiteral("DateEdit2"));
    for (QWidget* w : std::initializer_list<QWidget*>{Label1, DateEdit1, Label2, DateEdit2})
        content()->addWidget(w);
    Label1->setBuddy(DateEdit1);
    Label2->setBuddy(DateEdit2);
    applyLanguage();
}

void TfrmDatePicker::applyLanguage()
{
    DialogBase::applyLanguage();
    Label1->setText(langText(27));
    Label2->setText(langText(28));
}

void TfrmDatePicker::FormShow()
{
    const QDate today = QDate::currentDate();
    // No file can be modified after today: the calendar offers no later day.
    for (QDateEdit* edit : {DateEdit1, DateEdit2}) {
        edit->setMaximumDate(today);
        edit->setDate(today);
    }
}

void TfrmDatePicker::okClicked()
{
    if (!hasCallback())
        return;
    const QString from = DateEdit1->date().toString(kDayForm);
    const QString to = DateEdit2->date().toString(kDayForm);
    if (from > to) {
        MessageBox::inform(window(), QStringLiteral("Date Range Error"));
        return;
    }
    answer(from + QLatin1Char('-') + to);
}

} // namespace kyvane
