#pragma once

#include <QString>
#include <QStringList>

namespace kyvane {

// The three lists that drive every backup, loaded at start-up from the
// program folder and changed only by the settings screens.
struct AppLists
{
    QStringList servers;    // server.cfg: address|port|account|digest
    QStringList folders;    // folder.cfg: full folder paths
    QStringList extensions; // FileExt.cfg, or the defaults

    // The 19 built-in media extensions, in order.
    static QStringList defaultExtensions();

    // Loads the lists from the program folder. A missing or unreadable file
    // gives an empty list (servers, folders) or the defaults (extensions);
    // nothing is written.
    void load();
};

} // namespace kyvane
