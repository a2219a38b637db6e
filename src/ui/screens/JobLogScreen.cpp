#include "ui/screens/JobLogScreen.h"

#include "transfer/JobFiles.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QStringDecoder>
#include <QVBoxLayout>

namespace kyvane {

JobLogScreen::JobLogScreen(QWidget* parent) : QWidget(parent)
{
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(Memo1);
}

bool JobLogScreen::showLog(const QString& jobName, QString* error)
{
    Memo1->clear();
    QFile log(JobFiles::jobLogPath(jobName));
    if (!log.exists())
        return true;
    if (!log.open(QIODevice::ReadOnly)) {
        *error = log.errorString();
        return false;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(log.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Memo1->setPlainText(text);
    return true;
}

void JobLogScreen::clear()
{
    Memo1->clear();
}

} // namespace kyvane
