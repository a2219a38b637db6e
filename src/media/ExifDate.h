#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kyvane {

// Turns an Exif date "YYYY:MM:DD HH:MM:SS" into the capture-time form
// "YYYY/MM/DD;hh:mm:ss". The value needs at least 19 characters; the six
// fields are read at their fixed places as decimal digits and must make a
// real calendar day and time of day. The characters between the fields are
// not looked at, and anything after the 19th is ignored. Returns nothing
// for a value that fails, such as a blank date of spaces or "0000:00:00".
std::optional<std::string> captureTimeFromExifDate(std::string_view value);

} // namespace kyvane
