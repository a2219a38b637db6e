#pragma once

#include <QString>

namespace kyvane {

// The language table: 300 slots, a block of 100 per language. The current
// language code (0 English, 100 Traditional Chinese, 200 Simplified Chinese)
// is the first slot of its block, so key N is the slot code + N.

constexpr int kLanguageEnglish = 0;
constexpr int kLanguageTraditionalChinese = 100;
constexpr int kLanguageSimplifiedChinese = 200;
constexpr int kLanguageSlots = 300;
constexpr int kKeysPerLanguage = 46;

// Fills the table. Safe to call more than once; the table never changes
// afterwards, so any thread may read it.
void InitLanguageTable();

// The text of one slot, 0 to 299; the empty string for any other index.
QString languageSlot(int index);

// Key N of the current language.
QString langText(int key);

// The current language code, read and written as one indivisible value.
int currentLanguage();
void setCurrentLanguage(int code);

// The code stored as text in config.ini. Only "0", "100" and "200" name a
// language; anything else falls back to English.
int languageCodeFromText(const QString& text);

} // namespace kyvane
