#include "core/PicturesFolder.h"

#include <QDir>
#include <QStandardPaths>

namespace kyvane {

QString sharedPicturesFolder()
{
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QDir(pictures).exists())
        return pictures;
    return QDir::homePath();
}

} // namespace kyvane
