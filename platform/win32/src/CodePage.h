// Character classes and case mapping of the Western code page (Windows-1252), shared by the
// string functions, the profile files and the C runtime pieces of the platform layer.
#pragma once

namespace codepage {

inline unsigned char ToUpper(unsigned char c)
{
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned char>(c - 0x20);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return static_cast<unsigned char>(c - 0x20);
    switch (c) {
    case 0x9A: return 0x8A;  // s caron
    case 0x9C: return 0x8C;  // oe
    case 0x9E: return 0x8E;  // z caron
    case 0xFF: return 0x9F;  // y diaeresis
    default: return c;       // sharp s, micro sign and f hook have no capital here
    }
}

inline unsigned char ToLower(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned char>(c + 0x20);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<unsigned char>(c + 0x20);
    switch (c) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return c;
    }
}

inline bool IsUpper(unsigned char c) { return ToLower(c) != c; }

// The ordinal indicators ª and º count as lower-case letters, as in the character tables of the
// platform's time.
inline bool IsLower(unsigned char c)
{
    return ToUpper(c) != c || c == 0xDF || c == 0xB5 || c == 0x83 || c == 0xAA || c == 0xBA;
}

inline bool IsAlpha(unsigned char c) { return IsUpper(c) || IsLower(c); }

inline bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

}  // namespace codepage
