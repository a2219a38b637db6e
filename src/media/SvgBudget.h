#pragma once

#include "core/EngineSettings.h"

#include <QByteArray>

namespace kyvane {

// Whether an SVG document is small enough to render for a thumbnail: well
// formed, no more elements and <use> references than budget allows, no
// entity declarations (which could expand a short text without end), no
// other file read (an <image>, a reference outside the document) and no
// dashed strokes. Reads the text once and builds nothing.
bool svgWithinBudget(const QByteArray& document, const PictureBudget& budget);

} // namespace kyvane
