#include "text_decoding.h"

#include <array>
#include <cstdint>

namespace venturon {

namespace {

constexpr char32_t replacement = 0xFFFD;

// Windows-1252's 0x80 to 0x9F; 0 where it assigns nothing.
constexpr std::array<char16_t, 32> cp1252_high{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void append(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string from_utf16(std::string_view bytes, bool little_endian) {
    std::string out;
    out.reserve(bytes.size());
    const auto unit = [&](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return little_endian ? char32_t(a | (b << 8)) : char32_t((a << 8) | b);
    };
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const char32_t c = unit(i);
        if (c >= 0xD800 && c < 0xDC00 && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                append(out, 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        append(out, c >= 0xD800 && c < 0xE000 ? replacement : c);
    }
    if (i < bytes.size()) {
        append(out, replacement); // an odd byte at the end
    }
    return out;
}

std::string from_cp1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        if (b >= 0x80 && b < 0xA0) {
            const char16_t c = cp1252_high[b - 0x80];
            append(out, c == 0 ? replacement : c);
        } else {
            append(out, b); // the rest is Latin-1
        }
    }
    return out;
}

} // namespace

bool valid_utf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        int more = 0;
        char32_t c = 0;
        char32_t lowest = 0;
        if ((b & 0xE0) == 0xC0) {
            more = 1;
            c = b & 0x1F;
            lowest = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            more = 2;
            c = b & 0x0F;
            lowest = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            more = 3;
            c = b & 0x07;
            lowest = 0x10000;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(more) >= bytes.size()) {
            return false; // cut short at the end
        }
        for (int k = 1; k <= more; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            c = (c << 6) | (next & 0x3F);
        }
        if (c < lowest || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) {
            return false;
        }
        i += more + 1;
    }
    return true;
}

std::string utf8_text(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    } else if (bytes.starts_with("\xFF\xFE")) {
        return from_utf16(bytes.substr(2), true);
    } else if (bytes.starts_with("\xFE\xFF")) {
        return from_utf16(bytes.substr(2), false);
    }
    return valid_utf8(bytes) ? std::string(bytes) : from_cp1252(bytes);
}

} // namespace venturon
