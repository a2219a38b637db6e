#pragma once

#include <QString>

namespace kyvane {

// The folder of the running executable, where every file of the program lies
// (lists, config.ini, job files, job logs). Always a full path ending in
// exactly one "/". Never the current working folder.
class ProgramFolder
{
public:
    // Fixes the folder once at start-up: the override set for tests if there
    // is one, else the folder of the executable.
    static void fix();

    // The fixed folder; empty before fix().
    static QString path();

    // The folder + name: the full path of a file of the program.
    static QString file(const QString& name);

    // Tests run the engine on a temporary folder. The shipped program never
    // calls this.
    static void setForTesting(const QString& folder);

    // "/a/b" and "/a/b//" give "/a/b/"; "/" stays "/".
    static QString withOneTrailingSeparator(const QString& folder);
};

} // namespace kyvane
