// Byte-string helpers for the plug-in's Shift-JIS texts (code page 932): the lead-byte test,
// walks and cuts that never split a double-byte character, and the case-blind comparisons.
// Positions are indices into text; the end of text plays the part of a terminating NUL.
#pragma once

#include <cstddef>
#include <string_view>

// True for a Shift-JIS lead byte (0x80-0x9F, 0xE0-0xFF).
inline bool IsSjisLeadByte(unsigned char byte)
{
    return (byte >= 0x80 && byte <= 0x9F) || byte >= 0xE0;
}

// The byte with an ASCII lower-case letter made upper case; every other byte as it is.
inline int AsciiUpper(int byte)
{
    return (byte >= 'a' && byte <= 'z') ? byte - ('a' - 'A') : byte;
}

// True for a space or a tab, the blanks of header and INI values.
inline bool IsBlank(int byte)
{
    return byte == ' ' || byte == '\t';
}

// Index of the first byte equal to byte, stepping over the second byte of every
// double-byte character; npos when absent. A lead byte as the last byte ends the search.
std::size_t FindSjisChar(std::string_view text, char byte);

// Index after the last byte to keep of at most maxBytes, never inside a double-byte
// character; a lead byte without its trail byte is not kept.
std::size_t CutWithoutSplitting(std::string_view text, std::size_t maxBytes);

// 0 when text begins with prefix (ASCII letters compared without regard to case, every
// other byte exactly), 1 otherwise. An empty prefix always matches. Header names and page
// markers are ASCII, so the test looks at single bytes only.
int StartsWithNoCase(std::string_view text, std::string_view prefix);

// StartsWithNoCase as a truth value.
inline bool HasPrefixNoCase(std::string_view text, std::string_view prefix)
{
    return StartsWithNoCase(text, prefix) == 0;
}

// True when the texts hold the same characters, ASCII letters in any case: both bytes of a
// double-byte character compare exactly, as the system compares file, section and key names.
bool EqualsNoCase(std::string_view a, std::string_view b);

// Index just after the first place where text begins with pattern (any letter case),
// or text.size() when there is none.
std::size_t SkipPastNoCase(std::string_view text, std::string_view pattern);

// As SkipPastNoCase, but std::string_view::npos when pattern does not occur.
std::size_t FindPastNoCase(std::string_view text, std::string_view pattern);

// Index of the first byte that is neither space nor tab (text.size() when none).
std::size_t SkipBlanks(std::string_view text);

// Index of the first space or tab, or text.size().
std::size_t FindBlank(std::string_view text);

// Index of the first occurrence of byte, or text.size().
std::size_t FindCharOrEnd(std::string_view text, char byte);
