#pragma once

#include <QString>

namespace kyvane {

struct JobEntry;

// The password digest a job entry logs in with.
struct LoginDigest
{
    QString digest;
    // The entry's server (address, port and account) is in server.cfg.
    bool configured = false;
};

// A job file keeps the digest each entry was written with, so a password
// corrected in Settings would never reach the jobs already queued. While the
// entry's server is still in server.cfg, the digest stored there now is
// used; the entry's own only for a server no longer configured. Reads
// server.cfg from the program folder; safe on any thread.
LoginDigest loginDigestFor(const JobEntry& entry);

} // namespace kyvane
