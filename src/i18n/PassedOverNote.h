#pragma once

#include <QString>
#include <QStringList>

namespace kyvane {

// The note that names what a scan, a listing or a manual backup passed over:
// backup folders that cannot be read and files whose names cannot be stored
// in a job. At most a few names of each are spelled out, with the count of
// all. Empty when nothing was passed over.
QString passedOverNote(const QStringList& folders, const QStringList& files);

// The note for files alone.
inline QString passedOverFilesNote(const QStringList& files)
{
    return passedOverNote({}, files);
}

} // namespace kyvane
