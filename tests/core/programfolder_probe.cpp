// Prints the program folder the engine fixes for this executable.
#include "core/ProgramFolder.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    kyvane::ProgramFolder::fix();
    std::fputs(kyvane::ProgramFolder::path().toUtf8().constData(), stdout);
    return 0;
}
