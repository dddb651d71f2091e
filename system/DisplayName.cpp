#include "system/DisplayName.h"

namespace halvane
{

namespace
{

// The length of the well-formed UTF-8 sequence at the start of `text`, and
// its code point; 0 when the bytes there are no UTF-8 (a stray continuation
// byte, an overlong form, a surrogate, a cut sequence).
std::size_t utf8Sequence(std::string_view text, char32_t& point)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned lead = byte(0);
    std::size_t n = 0;
    unsigned low = 0x80, high = 0xBF; // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() < n || byte(1) < low || byte(1) > high)
        return 0;
    point = lead & (0x7F >> n);
    for (std::size_t i = 1; i < n; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
        point = point << 6 | (byte(i) & 0x3F);
    }
    return n;
}

// Characters that move the cursor or break the line rather than show.
bool isControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

} // namespace

std::string displayText(std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    auto escape = [&](std::string_view bytes) {
        for (const char c : bytes) {
            const auto b = static_cast<unsigned char>(c);
            out += "\\x";
            out += kHex[b >> 4];
            out += kHex[b & 0xF];
        }
    };
    for (std::size_t i = 0; i < text.size();) {
        char32_t point = static_cast<unsigned char>(text[i]);
        const std::size_t n = point < 0x80 ? 1 : utf8Sequence(text.substr(i), point);
        if (n == 0) {
            escape(text.substr(i, 1)); // no UTF-8: the byte alone
            ++i;
            continue;
        }
        if (isControl(point))
            escape(text.substr(i, n));
        else
            out += text.substr(i, n);
        i += n;
    }
    return out;
}

std::string displayName(const std::filesystem::path& file)
{
    const std::u8string utf8 = file.u8string();
    return displayText(std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
}

} // namespace halvane
