#include "media/OpenMediaFile.h"

#include <QFile>
#include <QFileInfo>

namespace kyvane {

bool openMediaFile(QFile& file)
{
    return QFileInfo(file.fileName()).isFile() &&
           file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

} // namespace kyvane
