#pragma once

#include <cstdint>

namespace korval {

// The interface language. Stored as the byte the windows write; a value other
// than the two below can only come from a caller writing the state directly.
enum class Language : std::uint8_t { Italian = 0, English = 1 };

// One user-visible text in both languages.
struct Bilingual {
    const char *Italian;
    const char *English;
};

// Anything but English reads Italian, the language every run starts in.
constexpr const char *Pick(const Bilingual &text, Language language)
{
    return language == Language::English ? text.English : text.Italian;
}

constexpr bool IsKnown(Language language)
{
    return language == Language::Italian || language == Language::English;
}

}  // namespace korval
