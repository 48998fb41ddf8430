// The sorting rules and header rules in their INI encoding (sections MoveMail, Action,
// Mark and AdditionalHeader), and the lookup of a rule by bucket.
#pragma once

#include <string>

#include "config/rules.h"

class ProfileStore;
class FileSystem;

// Empties rules and loads them; a missing INI file gets the default rule spam -> ごみ箱.
// A last key name that may have been cut at the end of the key list is not loaded.
void loadSortRules(SortRuleList& rules, ProfileStore& profile, FileSystem& files);

// Replaces rules by edited and rewrites MoveMail, Action and Mark.
void saveSortRules(SortRuleList& rules, const SortRuleList& edited, ProfileStore& profile,
                   FileSystem& files);

// The first rule whose bucket equals the text byte for byte, or null.
const SortRule* FindSortRule(const SortRuleList& rules, const std::string& bucket);

// Empties rules and loads AdditionalHeader from the file at path, in key order; values
// with fewer than two separators are skipped.
void loadHeaderRules(HeaderRuleList& rules, ProfileStore& profile, const std::string& path);

// Replaces rules by edited and rewrites AdditionalHeader in the file at path as keys 1..n,
// in that order also in a damaged file. A value the profile would trim or unquote is
// written in double quotes. Rules that would not read back the same (see
// HeaderRuleRoundTrips and HeaderRuleFitsInFile) are left out of both.
void saveHeaderRules(HeaderRuleList& rules, const HeaderRuleList& edited, ProfileStore& profile,
                     const std::string& path);

// The header-rule value encoding: colons doubled in bucket and header, single colons
// separate the fields, the search text is stored as it is.
std::string EncodeHeaderRule(const HeaderRule& rule);
// False when the value has fewer than two separators.
bool DecodeHeaderRule(const std::string& value, HeaderRule& rule);

// True when the rule's encoding decodes back to the same rule. It does not for a search
// text or header beginning with a colon or an empty header: their separator cannot be
// told from an escaped colon. saveHeaderRules drops such rules; dialogs can refuse them.
bool HeaderRuleRoundTrips(const HeaderRule& rule);

// True when the rule's stored value, quotes included, is short enough to be read back
// whole (values are read into 511 bytes).
bool HeaderRuleFitsInFile(const HeaderRule& rule);
