#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace kaleno::fuzz {

/// Reports a property that the input broke and aborts: libFuzzer then saves the input as a
/// crash file.
[[noreturn]] inline void fail(std::string_view what)
{
    std::fprintf(
        stderr, "\n*** property violated: %.*s\n", static_cast<int>(what.size()), what.data());
    std::fflush(stderr);
    std::abort();
}

inline void require(bool holds, std::string_view what)
{
    if (!holds) [[unlikely]]
        fail(what);
}

/// A text between quotes for the messages of fail(): printable ASCII as it is, any other byte
/// as \xHH, and only the start of a long text.
inline std::string quoted(std::string_view text)
{
    constexpr std::size_t Shown = 160;
    std::string out = "\"";
    for (const char c : text.substr(0, Shown)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte >= 0x20 && byte < 0x7f) {
            out += c;
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
            out += escape;
        }
    }
    out += '"';
    if (text.size() > Shown)
        out += "... (" + std::to_string(text.size()) + " bytes)";
    return out;
}

} // namespace kaleno::fuzz
