#pragma once

class QLocale;

namespace kyvane {

// The language code of the table that suits a locale: Traditional Chinese
// for the Traditional script or Taiwan, Hong Kong and Macao, Simplified
// Chinese for any other Chinese, else English. For a message shown before
// config.ini can be read.
int languageOfLocale(const QLocale& locale);

} // namespace kyvane
