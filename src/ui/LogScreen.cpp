// The job log screen: the read-only text of one job's log.

#include "ui/MainWindow.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace kyvane {

void TForm1::buildLogPage(QWidget* page)
{
    Memo1 = new QPlainTextEdit(page);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(Memo1);
}

} // namespace kyvane
