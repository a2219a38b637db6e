#include "ui/MainWindow.h"

#include <QApplication>
#include <QFile>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);

    QFile style(QStringLiteral(":/style/kyvane.qss"));
    if (style.open(QIODevice::ReadOnly))
        app.setStyleSheet(QString::fromUtf8(style.readAll()));

    kyvane::TForm1 form;
    form.show();
    return app.exec();
}
