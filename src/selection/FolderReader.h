#pragma once

#include <QByteArray>

#include <dirent.h>
#include <sys/stat.h>

namespace kyvane {

// One level of a folder, read through the folder's open handle: every entry
// is looked up relative to the folder, not by walking its full path again.
class FolderReader
{
public:
    // folder as the file system names it (QFile::encodeName).
    explicit FolderReader(const QByteArray& folder);
    ~FolderReader();
    FolderReader(const FolderReader&) = delete;
    FolderReader& operator=(const FolderReader&) = delete;

    // False when the folder does not exist, is no folder or cannot be read.
    bool isOpen() const { return m_dir != nullptr; }

    // The next entry other than "." and "..", hidden ones included; null at
    // the end. Valid until the next call.
    const dirent* next();

    // The status of an entry of this folder, following links. False when it
    // is gone (vanished since the listing, or a link that leads nowhere).
    bool status(const char* name, struct stat& info) const;

private:
    DIR* m_dir = nullptr;
};

} // namespace kyvane
