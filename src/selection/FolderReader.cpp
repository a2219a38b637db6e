#include "selection/FolderReader.h"

#include <cstring>
#include <fcntl.h>

namespace kyvane {

FolderReader::FolderReader(const QByteArray& folder) : m_dir(opendir(folder.constData())) {}

FolderReader::~FolderReader()
{
    if (m_dir)
        closedir(m_dir);
}

const dirent* FolderReader::next()
{
    while (const dirent* entry = readdir(m_dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            return entry;
    }
    return nullptr;
}

bool FolderReader::status(const char* name, struct stat& info) const
{
    return fstatat(dirfd(m_dir), name, &info, 0) == 0;
}

} // namespace kyvane
