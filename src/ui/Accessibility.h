#pragma once

#include <QString>

#include <initializer_list>
#include <utility>

class QWidget;

namespace kyvane {

// What a screen reader says of the window's controls.
namespace Accessibility {

// Makes the tappable frames and labels (the home page's tiles, the server
// editor's Delete) known as buttons that can be pressed. Once per program.
void installTapButtons();

// Gives each named control inside scope its accessible name: the controls
// whose look says what they do (an arrow, a ">", a list) but whose text
// does not.
void nameControls(QWidget* scope, std::initializer_list<std::pair<const char*, QString>> names);

} // namespace Accessibility

} // namespace kyvane
