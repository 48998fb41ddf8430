// ISO-2022-JP (RFC 1468) to Shift-JIS. The system's converter for this encoding is
// missing on some platforms, and JIS X 0208 maps onto Shift-JIS by arithmetic anyway.
#pragma once

#include <string>
#include <string_view>

// Converts ISO-2022-JP text to Shift-JIS (code page 932). Understood designations:
// ESC ( B and ESC ( J (ASCII), ESC $ @ and ESC $ B (JIS X 0208), ESC ( I and SO/SI
// (half-width katakana, which becomes 0xA1-0xDF). Control bytes pass through in every
// mode; an unknown escape sequence's ESC is dropped; an escape sequence or a
// double-byte character cut off by the end of the text is dropped, as are bytes 0x80 and above that
// are not half-width katakana.
std::string Iso2022JpToShiftJis(std::string_view jis);
