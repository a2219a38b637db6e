#pragma once

namespace kyvane {

// Qt's own texts (the buttons of the platform's dialogs, a file dialog's
// labels) in the language of code: Debian's translations of Qt for the two
// Chinese languages, none for English. Replaces what an earlier call put in.
// False when the translation for code cannot be found.
bool installQtTranslations(int code);

} // namespace kyvane
