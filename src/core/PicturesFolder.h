#pragma once

#include <QString>

namespace kyvane {

// The folder where the user's pictures live: the platform's pictures folder,
// or the home folder where there is none.
QString sharedPicturesFolder();

} // namespace kyvane
