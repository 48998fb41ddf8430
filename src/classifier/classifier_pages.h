// The few marker texts the plug-in looks for in the classifier's pages and in the
// "X-POPFile-Link:" value it puts into every message. Nothing else of a page is relied on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The header the classifier puts into every message it passes on: its page of the message.
inline constexpr std::string_view kLinkHeader = "X-POPFile-Link:";

// The text before the first "jump" (exact case) of a message link: the classifier's base
// address. Nothing when the link holds no "jump".
std::optional<std::string> ClassifierBaseFromLink(std::string_view link);

// True when address may be used as the classifier's base: it begins with "http://"
// (exact case), the rule a typed address must pass too.
bool IsClassifierAddress(std::string_view address);

// True when address may be handed to the browser: it begins with "http://" or "https://".
bool IsBrowsableAddress(std::string_view address);

// True when an http:// or https:// address names this machine: its host is 127.0.0.1,
// localhost (any letter case) or [::1], optionally with a decimal port. An authority
// holding anything else (user information "x@", percent escapes, backslashes, blanks)
// does not count, so that no reader of the address can take it for another host.
bool IsLocalAddress(std::string_view address);

// True when a link found in a received message may be learnt, requested or opened: it
// names this machine, or url is not empty and the link begins with url (at a path
// boundary when url does not end in "/"). Any sender can write such a header, so every
// other link is treated as absent.
bool IsTrustedLink(std::string_view link, std::string_view url);

// The decimal number after the first "view=" (any letter case) of a message link: its
// leading digits, 0 when there are none or when they exceed a signed 32-bit number.
// Nothing when the link holds no "view=".
std::optional<int32_t> ViewNumberFromLink(std::string_view link);

// A session key found on a page, with where its marker begins.
struct SessionKeyMatch {
    std::string key;
    std::size_t markerPosition = 0;
};

// The first "/history?session=" (any letter case) that has a double quote somewhere
// after it: the text between them is the key. Nothing when there is none.
std::optional<SessionKeyMatch> FindSessionKey(std::string_view page);

// True for the classifier's Session Expired page: it holds '<h2 class="session">' (any letter
// case), the heading the classifier gives it.
bool IsSessionExpiredPage(std::string_view page);

// True for the classifier's password page, which every page becomes while its web interface
// asks for a password: it holds '<h2 class="password">' or 'action="/password"' (any case).
bool IsPasswordPage(std::string_view page);

// Bucket names in page order from the bucket page: for each "showbucket=" (any letter
// case) at or after from that has a double quote after it, the text between them.
// Duplicates are kept. A name holding a line break is left out, because names are
// written into message headers.
std::vector<std::string> FindBucketNames(std::string_view page, std::size_t from);
