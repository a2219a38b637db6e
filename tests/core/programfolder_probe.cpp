// Prints the program folder the engine fixes for this executable, or, when
// it refuses the folder, why on standard error with exit code 2.
#include "core/ProgramFolder.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    using Refusal = kyvane::ProgramFolder::Refusal;
    switch (kyvane::ProgramFolder::fix()) {
    case Refusal::None:
        break;
    case Refusal::IsLink:
        std::fputs("refused: link", stderr);
        return 2;
    case Refusal::NotOwned:
        std::fputs("refused: not owned", stderr);
        return 2;
    }
    std::fputs(kyvane::ProgramFolder::path().toUtf8().constData(), stdout);
    return 0;
}
