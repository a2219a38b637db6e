#pragma once

#include <QString>

namespace kyvane {

// The look of the window: its one style sheet and the faces it names.
class Look
{
public:
    // The style sheet from the resources; empty if it cannot be read.
    static QString styleSheet();

    // The sheet names "Roboto" and "Baskerville Old Face". Where a face is
    // not installed, text falls back to a free face Debian ships instead of
    // whatever the font matcher picks first. Safe to call more than once.
    static void installFontFallbacks();
};

} // namespace kyvane
