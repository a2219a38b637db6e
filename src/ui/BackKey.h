#pragma once

#include <Qt>

namespace kyvane {

// The Back key: the device's own, or on a desktop keyboard, which has none,
// Alt+Left as in web browsers.
inline bool isBackKey(int key, Qt::KeyboardModifiers modifiers)
{
    return key == Qt::Key_Back ||
           (key == Qt::Key_Left && (modifiers & ~Qt::KeypadModifier) == Qt::AltModifier);
}

} // namespace kyvane
