#pragma once

#include "core/EngineSettings.h"

#include <QByteArray>

namespace kyvane {

// Whether an SVG document is small enough to render for a thumbnail: well
// formed, no more elements and <use> references than budget allows, and no
// entity declarations, which could expand a short text without end. Reads
// the text once and builds nothing.
bool svgWithinBudget(const QByteArray& document, const PictureBudget& budget);

} // namespace kyvane
