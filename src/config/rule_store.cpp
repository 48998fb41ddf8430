#include "config/rule_store.h"

#include <cstddef>
#include <vector>

#include "base/profile_store.h"
#include "config/ini_sections.h"
#include "config/settings_store.h"
#include "base/file_system.h"

namespace {
constexpr const char* kMoveMail = "MoveMail";
constexpr const char* kAction = "Action";
constexpr const char* kMark = "Mark";
constexpr const char* kAdditionalHeader = "AdditionalHeader";

constexpr std::size_t kSortKeyListSize = 4096;
constexpr std::size_t kSortValueSize = 512;
constexpr std::size_t kHeaderKeyListSize = 511;
constexpr std::size_t kHeaderValueSize = 511;

constexpr const char* kDefaultBucket = "spam";
constexpr const char* kDefaultFolder = "ごみ箱";

constexpr char kColon = ':';

// One number as sscanf's %d reads it: blanks, optional sign, at least one digit.
// Advances pos past it; false (pos unchanged) when there is no number there.
bool ReadDecimal(const std::string& text, std::size_t& pos, int32_t& number)
{
    std::size_t i = pos;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' ||
                               text[i] == '\v' || text[i] == '\f' || text[i] == '\r')) {
        ++i;
    }
    std::size_t digits = i;
    if (digits < text.size() && (text[digits] == '+' || text[digits] == '-')) {
        ++digits;
    }
    if (digits >= text.size() || text[digits] < '0' || text[digits] > '9') {
        return false;
    }
    std::size_t end = digits;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') {
        ++end;
    }
    number = ProfileNumber(text.substr(i, end - i));
    pos = end;
    return true;
}

// "%d,%d,%d" as sscanf reads it: up to three numbers, each comma matched exactly; the
// first part that does not fit ends the reading and the numbers not read stay 0.
void ParseActionValue(const std::string& value, SortRule& rule)
{
    int32_t numbers[3] = {0, 0, 0};
    std::size_t pos = 0;
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            if (pos >= value.size() || value[pos] != ',') {
                break;
            }
            ++pos;
        }
        if (!ReadDecimal(value, pos, numbers[i])) {
            break;
        }
    }
    rule.action = numbers[0];
    rule.deleteFromServer = numbers[1] != 0;
    rule.duplicateThenHostDeletes = numbers[2] != 0;
}

std::string ActionValue(const SortRule& rule)
{
    return std::to_string(rule.action) + "," + (rule.deleteFromServer ? "1" : "0") + "," +
           (rule.duplicateThenHostDeletes ? "1" : "0");
}

std::string EscapeColons(const std::string& text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        escaped += c;
        if (c == kColon) {
            escaped += kColon;
        }
    }
    return escaped;
}

std::string UnescapeColons(const std::string& text)
{
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        plain += text[i];
        if (text[i] == kColon && i + 1 < text.size() && text[i + 1] == kColon) {
            ++i;
        }
    }
    return plain;
}

// Position of the first single colon at or after from, skipping colon pairs whole;
// npos when there is none. A colon never occurs as the second byte of a Shift-JIS
// character (those are 0x40 and above), so a plain byte walk is safe.
std::size_t FindSeparator(const std::string& value, std::size_t from)
{
    for (std::size_t i = from; i < value.size(); ++i) {
        if (value[i] != kColon) {
            continue;
        }
        if (i + 1 < value.size() && value[i + 1] == kColon) {
            ++i;
            continue;
        }
        return i;
    }
    return std::string::npos;
}

void LoadFolders(SortRuleList& rules, const std::vector<std::string>& buckets,
                 ProfileStore& profile, const std::string& file)
{
    for (const std::string& bucket : buckets) {
        SortRule rule;
        rule.bucket = bucket;
        rule.folder = profile.readString(file, kMoveMail, bucket, "", kSortValueSize);
        rule.position = static_cast<int32_t>(rules.size());
        rules.push_back(rule);
    }
}

void AddDefaultRule(SortRuleList& rules, ProfileStore& profile, const std::string& file)
{
    SortRule rule;
    rule.bucket = kDefaultBucket;
    rule.folder = kDefaultFolder;
    rule.position = 0;
    profile.writeString(file, kMoveMail, rule.bucket, rule.folder);
    profile.flush(file);
    rules.push_back(rule);
}

void LoadActions(SortRuleList& rules, ProfileStore& profile, const std::string& file)
{
    for (SortRule& rule : rules) {
        const std::string value = profile.readString(file, kAction, rule.bucket, "",
                                                     kSortValueSize);
        if (!value.empty()) {
            ParseActionValue(value, rule);
        }
    }
}

void LoadMarks(SortRuleList& rules, ProfileStore& profile, const std::string& file)
{
    for (SortRule& rule : rules) {
        const std::string value = profile.readString(file, kMark, rule.bucket, "",
                                                     kSortValueSize);
        rule.mark = value.empty() ? 0 : ProfileNumber(value);
    }
}
}  // namespace

void loadSortRules(SortRuleList& rules, ProfileStore& profile, FileSystem& files)
{
    rules.clear();
    const std::string file = pluginIniPath(files);
    const std::vector<std::string> buckets =
        WholeKeyNames(profile.readKeyNames(file, kMoveMail, kSortKeyListSize), kSortKeyListSize);
    if (!buckets.empty()) {
        LoadFolders(rules, buckets, profile, file);
    } else if (!files.fileExists(file)) {
        AddDefaultRule(rules, profile, file);
    }
    LoadActions(rules, profile, file);
    LoadMarks(rules, profile, file);
}

void saveSortRules(SortRuleList& rules, const SortRuleList& edited, ProfileStore& profile,
                   FileSystem& files)
{
    rules = edited;
    const std::string file = pluginIniPath(files);
    // Action stays: lines of removed buckets are left behind and ignored by the next load.
    DeleteEveryCopyOfSection(profile, file, kMark, kSortKeyListSize);
    DeleteEveryCopyOfSection(profile, file, kMoveMail, kSortKeyListSize);
    for (std::size_t i = 0; i < rules.size(); ++i) {
        SortRule& rule = rules[i];
        rule.position = static_cast<int32_t>(i);
        profile.writeString(file, kMoveMail, rule.bucket, rule.folder);
        profile.writeString(file, kAction, rule.bucket, ActionValue(rule));
    }
    for (const SortRule& rule : rules) {
        if (rule.mark > 0) {
            profile.writeString(file, kMark, rule.bucket, std::to_string(rule.mark));
        }
    }
    profile.flush(file);
}

const SortRule* FindSortRule(const SortRuleList& rules, const std::string& bucket)
{
    for (const SortRule& rule : rules) {
        if (rule.bucket == bucket) {
            return &rule;
        }
    }
    return nullptr;
}

std::string EncodeHeaderRule(const HeaderRule& rule)
{
    return EscapeColons(rule.bucket) + kColon + EscapeColons(rule.header) + kColon + rule.search;
}

bool DecodeHeaderRule(const std::string& value, HeaderRule& rule)
{
    const std::size_t first = FindSeparator(value, 0);
    if (first == std::string::npos) {
        return false;
    }
    const std::size_t second = FindSeparator(value, first + 1);
    if (second == std::string::npos) {
        return false;
    }
    rule.bucket = UnescapeColons(value.substr(0, first));
    rule.header = UnescapeColons(value.substr(first + 1, second - first - 1));
    rule.search = value.substr(second + 1);
    return true;
}

bool HeaderRuleRoundTrips(const HeaderRule& rule)
{
    HeaderRule decoded;
    return DecodeHeaderRule(EncodeHeaderRule(rule), decoded) && decoded.bucket == rule.bucket &&
           decoded.header == rule.header && decoded.search == rule.search;
}

bool HeaderRuleFitsInFile(const HeaderRule& rule)
{
    // A quoted value reads back whole with one byte less: the system drops the opening
    // quote before it cuts at the buffer's end, and the closing one only when nothing was cut.
    const std::string value = EncodeHeaderRule(rule);
    return value.size() + (ProfileValueNeedsQuotes(value) ? 1 : 0) < kHeaderValueSize;
}

void loadHeaderRules(HeaderRuleList& rules, ProfileStore& profile, const std::string& path)
{
    rules.clear();
    const std::vector<std::string> keys = WholeKeyNames(
        profile.readKeyNames(path, kAdditionalHeader, kHeaderKeyListSize), kHeaderKeyListSize);
    for (const std::string& key : keys) {
        const std::string value = profile.readString(path, kAdditionalHeader, key, "",
                                                     kHeaderValueSize);
        HeaderRule rule;
        if (DecodeHeaderRule(value, rule)) {
            rules.push_back(rule);
        }
    }
}

void saveHeaderRules(HeaderRuleList& rules, const HeaderRuleList& edited, ProfileStore& profile,
                     const std::string& path)
{
    // A rule the file cannot give back (a search text or header that begins with a colon,
    // an empty header, a value that would be cut on reading) is kept neither in the file
    // nor in memory, so that what the filter uses now is what it will use after the next
    // start.
    rules.clear();
    for (const HeaderRule& rule : edited) {
        if (HeaderRuleRoundTrips(rule) && HeaderRuleFitsInFile(rule)) {
            rules.push_back(rule);
        }
    }
    std::vector<std::string> values;
    for (const HeaderRule& rule : rules) {
        values.push_back(EncodeHeaderRule(rule));
    }
    RewriteNumberedKeys(profile, path, kAdditionalHeader, kHeaderKeyListSize, values);
    profile.flush(path);
}
