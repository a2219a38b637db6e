#include "transfer/LoginDigest.h"

#include "core/AppLists.h"
#include "core/ListFile.h"
#include "core/ProgramFolder.h"
#include "transfer/JobEntry.h"

namespace kyvane {

LoginDigest loginDigestFor(const JobEntry& entry)
{
    // Read anew for every login: the settings screens replace the file
    // whole (atomically), so it is never seen half written.
    const auto servers = ListFile::read(ProgramFolder::file(AppLists::kServerFile));
    if (servers) {
        for (const QString& line : *servers) {
            const JobEntry server = JobEntry::split(line);
            if (server.sameLogin(entry))
                return {server.digest, true};
        }
    }
    return {entry.digest, false};
}

} // namespace kyvane
