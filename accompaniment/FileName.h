#pragma once
// The file name at the end of a path, for the captions of the load buttons; pure function, any thread.

#include <string_view>

namespace accompaniment {

// The part of `path` after its last separator, or the whole path when it holds none. Separators are
// the system's own: "/" here, "\" and "/" on Windows. A backslash is an ordinary character of a file
// name on this system, so "a\b.mp3" keeps its whole name. Both separators are ASCII and no byte of a
// multi-byte UTF-8 character is ever below 0x80, so a plain byte search never splits a character.
[[nodiscard]] inline std::string_view fileNameOf(std::string_view path)
{
#ifdef _WIN32
    constexpr std::string_view kSeparators = "\\/";
#else
    constexpr std::string_view kSeparators = "/";
#endif
    const size_t last = path.find_last_of(kSeparators);
    return last == std::string_view::npos ? path : path.substr(last + 1);
}

} // namespace accompaniment
