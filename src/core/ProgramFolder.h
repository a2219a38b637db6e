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

    // Why a per-user folder is not used. Its files hold password digests,
    // so it must be the user's own folder and no one else's way in.
    enum class Refusal {
        None,
        IsLink,  // a symbolic link: it leads wherever someone pointed it
        NotOwned // another user's folder
    };

    static Kind builtKind();

    // The name of the per-user folder inside the user's data folder.
    static QString perUserFolderName();

    // The program folder of a copy of the given kind, from the folder of the
    // executable and the user's data folder (the XDG data location).
    static QString folderFor(Kind kind, const QString& executableFolder,
                             const QString& userDataFolder);

    // Fixes the folder once at start-up: the override set for tests if there
    // is one, else the folder of this build's kind. A per-user folder is made
    // private (makePrivate) at every start; when it is refused, the program
    // must not use it. Later calls return the first call's answer.
    static Refusal fix();

    // Makes folder the user's private folder: created with mode 0700 in one
    // step when it does not exist, tightened to the owner alone when it is
    // looser. A symbolic link or another user's folder is refused and left
    // as it is. A folder that cannot be made is only logged: saving a file
    // into it then fails and says so.
    static Refusal makePrivate(const QString& folder);

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
