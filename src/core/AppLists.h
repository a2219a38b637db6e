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

    // Whether the folder list already names folder: the same path once both
    // are cleaned (no trailing "/", no "//" or "/./"), so that no file goes
    // twice into a job.
    bool holdsFolder(const QString& folder) const;
    // Whether the extension list already holds ext, which the extension
    // test would match the same way (ASCII case does not count).
    bool holdsExtension(const QString& ext) const;

    // Loads the lists from the program folder. A missing or unreadable file
    // gives an empty list (servers, folders) or the defaults (extensions);
    // nothing is written.
    void load();

    // Each writes its whole file anew from list and, once the file holds
    // it, makes list the program's list. A file that cannot be written
    // stays as it was and so does the list, so the program never works
    // with a list that the next start would not find. Returns the empty
    // string on success, else the error's text.
    //
    // server.cfg holds what a client needs to log in, so it is readable by
    // its owner only, whatever it was before.
    QString storeServers(const QStringList& list);
    QString storeFolders(const QStringList& list);
    QString storeExtensions(const QStringList& list);

    static const QString kServerFile;
    static const QString kFolderFile;
    static const QString kExtensionFile;
};

} // namespace kyvane
