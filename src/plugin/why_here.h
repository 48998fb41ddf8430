// "Why did this message go here?": the receive filter's decision for one message, told one
// fact a line, in Japanese. Read-only: the same classification as the receive filter runs on
// the message file, and nothing is moved, marked, written or sent.
#pragma once

#include <string>
#include <vector>

struct FolderCatalogue;
struct PluginState;
class ProfileStore;

// The explanation for the message file at mailPath: what gave its bucket (a header rule, by
// number, header and search text; the "X-Text-Classification:" line; or neither), the
// bucket, the sorting rule found for it (or that none is, naming a rule whose bucket differs
// only in letter case), the destination "<account title>\<folder>" and whether that folder is
// among accountFolders (the message's account's folders), its "X-POPFile-Link:" and whether
// it is trusted, and POPFile's number of the message. Bucket, folder and destination appear
// exactly as stored.
std::vector<std::string> ExplainFiling(const PluginState& state, ProfileStore& profile,
                                       const FolderCatalogue& accountFolders,
                                       const std::string& mailPath);
