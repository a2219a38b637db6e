#include "ui/MainWindow.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);

    // The window brings its own look (style sheet and fonts).
    kyvane::TForm1 form;
    form.show();
    return app.exec();
}
