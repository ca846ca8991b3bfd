#pragma once
// Windows-1252 <-> UTF-8. The five bytes that Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value so
// that any byte read comes back unchanged when written.

#include <optional>
#include <string>
#include <string_view>

namespace tev {

std::string cp1252_a_utf8(std::string_view bytes);

// Empty when the text holds a character that Windows-1252 cannot store (or is
// not valid UTF-8).
std::optional<std::string> utf8_a_cp1252(std::string_view texto);

} // namespace tev
