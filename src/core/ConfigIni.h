#pragma once

#include <QString>

namespace kyvane {

// config.ini in the program folder. Section and key names match without
// regard to case; every other line of the file is kept as it was.

// The value of the key; instr3 when the file or the key is missing or the
// file cannot be read.
QString ReadIni(const QString& instr1, const QString& instr2, const QString& instr3);

// Stores the value, creating the file when needed. Returns the empty string
// on success, else the error's message.
QString WriteIni(const QString& instr1, const QString& instr2, const QString& instr3);

} // namespace kyvane
