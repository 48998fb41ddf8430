// Base64 (RFC 4648 standard alphabet) decoding of message bodies and encoded words.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Value 0-63 of a character of the standard Base64 alphabet, or -1 for any other byte.
int Base64Value(char symbol);

// Decodes a Base64 body text the way the system's CryptStringToBinaryA does with
// CRYPT_STRING_BASE64: spaces, tabs, CRs and LFs are skipped; "=" padding after a whole
// group ends the data; a partial last group without padding gives the bytes it
// completes (two characters one byte, three two; a single leftover character is
// ignored rather than turned into a made-up byte). Nothing for any other character,
// for data after padding and for padding inside a group that it does not complete.
std::optional<std::string> DecodeBase64(std::string_view text);
