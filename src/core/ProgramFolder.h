#pragma once

#include <QString>

namespace kyvane {

// The folder where every file of the program lies (lists, config.ini, job
// files, job logs). Always a full path ending in exactly one "/". Never the
// current working folder.
class ProgramFolder
{
public:
    // A copy run from its own folder (the build folder, a copied executable)
    // keeps its files beside the executable. The installed package shares its
    // executable folder with every user and cannot write there, so each user
    // gets a folder of their own. Which kind a build is, is fixed when it is
    // built (KYVANE_PER_USER_FOLDER), never guessed at run time.
    enum class Kind { ExecutableFolder, PerUser };

    static Kind builtKind();

    // The name of the per-user folder inside the user's data folder.
    static QString perUserFolderName();

    // The program folder of a copy of the given kind, from the folder of the
    // executable and the user's data folder (the XDG data location).
    static QString folderFor(Kind kind, const QString& executableFolder,
                             const QString& userDataFolder);

    // Fixes the folder once at start-up: the override set for tests if there
    // is one, else the folder of this build's kind, which is created (private
    // to the user) when it is a per-user folder that does not exist yet.
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
