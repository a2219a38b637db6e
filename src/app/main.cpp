#include "transfer/RunningJobs.h"
#include "ui/MainWindow.h"

#include <QApplication>

#include <cstdlib>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);

    // The window brings its own look (style sheet and fonts).
    kyvane::TForm1 form;
    form.show();
    const int code = app.exec();

    // Closing waited a little for the workers. One still stuck on the network
    // is left behind: end at once, without tearing down what its thread may
    // still use. Every file is written atomically, and its job resumes at the
    // next start.
    if (!kyvane::RunningJobs::names().isEmpty())
        std::quick_exit(code);
    return code;
}
