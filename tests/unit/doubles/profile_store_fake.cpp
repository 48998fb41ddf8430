#include "doubles/profile_store_fake.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {
// Blanks as the system's profile parser sees them: C white space plus ^Z.
bool IsProfileBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' ||
           c == '\x1a';
}

std::string Trim(const std::string& text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsProfileBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsProfileBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

bool IsLeadByte(unsigned char c)
{
    return (c >= 0x80 && c <= 0x9F) || c >= 0xE0;
}

char FoldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Names compare like the system compares them: ASCII letters without case, the two bytes
// of a Shift-JIS character exactly (a trail byte may look like an ASCII letter).
bool SameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(a[i]))) {
            if (a[i] != b[i] || (i + 1 < a.size() && a[i + 1] != b[i + 1])) {
                return false;
            }
            ++i;
        } else if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

// A value in matching single or double quotes loses them, the closing one only when
// the whole value fits, as the system's copy does.
std::string CopyEntry(const std::string& value, std::size_t bufferSize)
{
    std::string source = value;
    bool quoted = false;
    if (source.size() >= 2 && (source[0] == '\'' || source[0] == '"') &&
        source.back() == source[0]) {
        quoted = true;
        source.erase(0, 1);
    }
    std::string copy = source.substr(0, bufferSize - 1);
    if (quoted && bufferSize >= source.size() && !copy.empty()) {
        copy.pop_back();
    }
    return copy;
}

std::string StripTrailingSpaces(std::string text)
{
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}
}  // namespace

bool ProfileCall::operator==(const ProfileCall& other) const
{
    return kind == other.kind && file == other.file && section == other.section &&
           key == other.key && value == other.value;
}

ProfileStoreFake::Content ProfileStoreFake::Parse(const std::string& iniText)
{
    Content content;
    content.push_back(Section{});
    std::size_t lineStart = 0;
    while (lineStart < iniText.size()) {
        std::size_t lineEnd = iniText.find('\n', lineStart);
        if (lineEnd == std::string::npos) {
            lineEnd = iniText.size();
        }
        const std::string line = Trim(iniText.substr(lineStart, lineEnd - lineStart));
        lineStart = lineEnd + 1;
        if (line.empty()) {
            continue;
        }
        if (line[0] == '[') {
            const std::size_t close = line.rfind(']');
            if (close != std::string::npos) {
                content.push_back(Section{line.substr(1, close - 1), {}});
                continue;
            }
        }
        Entry entry;
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) {
            entry.name = line;
        } else {
            entry.name = Trim(line.substr(0, equals));
            entry.value = Trim(line.substr(equals + 1));
        }
        content.back().entries.push_back(entry);
    }
    return content;
}

std::string ProfileStoreFake::Dump(const Content& content)
{
    std::string out;
    bool first = true;
    for (const Section& section : content) {
        if (section.name.empty() && section.entries.empty()) {
            continue;
        }
        if (!first) {
            out += "\n";
        }
        first = false;
        if (!section.name.empty()) {
            out += "[" + section.name + "]\n";
        }
        for (const Entry& entry : section.entries) {
            out += entry.name;
            if (entry.value) {
                out += "=" + *entry.value;
            }
            out += "\n";
        }
    }
    return out;
}

template <typename SectionList>
auto ProfileStoreFake::FindSection(SectionList& content, const std::string& name)
    -> decltype(&content.front())
{
    const std::string wanted = Trim(name);
    for (auto& section : content) {
        if (!section.name.empty() && SameName(section.name, wanted)) {
            return &section;
        }
    }
    return nullptr;
}

template <typename SectionType>
auto ProfileStoreFake::FindEntry(SectionType& section, const std::string& name)
    -> decltype(&section.entries.front())
{
    const std::string wanted = Trim(name);
    for (auto& entry : section.entries) {
        if (SameName(entry.name, wanted)) {
            return &entry;
        }
    }
    return nullptr;
}

std::string ProfileStoreFake::readString(const std::string& file, const std::string& section,
                                         const std::string& key,
                                         const std::string& defaultValue, std::size_t bufferSize)
{
    calls_.push_back({ProfileCall::Kind::ReadString, file, section, key, defaultValue});
    if (bufferSize == 0 || key.empty()) {
        return "";
    }
    const std::optional<std::string> stored = value(file, section, key);
    return CopyEntry(stored ? *stored : StripTrailingSpaces(defaultValue), bufferSize);
}

std::vector<std::string> ProfileStoreFake::readKeyNames(const std::string& file,
                                                        const std::string& section,
                                                        std::size_t bufferSize)
{
    calls_.push_back({ProfileCall::Kind::ReadKeyNames, file, section, "", ""});
    const auto found = files_.find(file);
    if (found == files_.end() || bufferSize <= 2) {
        return {};
    }
    const Section* match = FindSection(found->second, section);
    if (match == nullptr) {
        return {};
    }
    // The system's list copy: each name cut to what leaves room for its NUL and one more
    // byte; once fewer than two bytes are left the list ends, cut.
    std::string buffer(bufferSize, '\0');
    std::size_t left = bufferSize;
    std::size_t pos = 0;
    for (const Entry& entry : match->entries) {
        if (left <= 2) {
            break;
        }
        if (entry.name.empty() || entry.name[0] == ';' || !entry.value) {
            continue;
        }
        const std::string copy = entry.name.substr(0, left - 2);
        buffer.replace(pos, copy.size(), copy);
        pos += copy.size() + 1;
        left -= copy.size() + 1;
        if (left < 2) {
            break;
        }
    }
    // The reported length never counts the two closing NULs of a full buffer.
    return SplitKeyList(buffer.data(), std::min(pos, bufferSize - 2));
}

void ProfileStoreFake::writeString(const std::string& file, const std::string& section,
                                   const std::string& key, const std::string& value)
{
    calls_.push_back({ProfileCall::Kind::WriteString, file, section, key, value});
    Content& content = files_[file];
    if (content.empty()) {
        content.push_back(Section{});
    }
    Section* target = FindSection(content, section);
    if (target == nullptr) {
        content.push_back(Section{Trim(section), {}});
        target = &content.back();
    }
    Entry* entry = FindEntry(*target, key);
    if (entry == nullptr) {
        target->entries.push_back(Entry{Trim(key), std::nullopt});
        entry = &target->entries.back();
    }
    entry->value = Trim(value);
}

void ProfileStoreFake::deleteSection(const std::string& file, const std::string& section)
{
    calls_.push_back({ProfileCall::Kind::DeleteSection, file, section, "", ""});
    const auto found = files_.find(file);
    if (found == files_.end()) {
        return;
    }
    Content& content = found->second;
    const std::string wanted = Trim(section);
    for (auto it = content.begin(); it != content.end(); ++it) {
        if (!it->name.empty() && SameName(it->name, wanted)) {
            content.erase(it);
            return;
        }
    }
}

void ProfileStoreFake::flush(const std::string& file)
{
    calls_.push_back({ProfileCall::Kind::Flush, file, "", "", ""});
    ++flushes_[file];
}

void ProfileStoreFake::loadText(const std::string& file, const std::string& iniText)
{
    files_[file] = Parse(iniText);
}

bool ProfileStoreFake::loadFromDisk(const std::string& file, const std::string& diskPath)
{
    std::ifstream in(diskPath, std::ios::binary);
    if (!in) {
        return false;
    }
    loadText(file, std::string(std::istreambuf_iterator<char>(in), {}));
    return true;
}

std::string ProfileStoreFake::text(const std::string& file) const
{
    const auto found = files_.find(file);
    return found == files_.end() ? std::string() : Dump(found->second);
}

std::string ProfileStoreFake::Canonical(const std::string& iniText)
{
    return Dump(Parse(iniText));
}

bool ProfileStoreFake::exists(const std::string& file) const
{
    return files_.count(file) != 0;
}

void ProfileStoreFake::removeFile(const std::string& file)
{
    files_.erase(file);
}

std::optional<std::string> ProfileStoreFake::value(const std::string& file,
                                                   const std::string& section,
                                                   const std::string& key) const
{
    const auto found = files_.find(file);
    if (found == files_.end()) {
        return std::nullopt;
    }
    const Section* match = FindSection(found->second, section);
    if (match == nullptr) {
        return std::nullopt;
    }
    const Entry* entry = FindEntry(*match, key);
    if (entry == nullptr || !entry->value) {
        return std::nullopt;
    }
    return entry->value;
}

int ProfileStoreFake::flushCount(const std::string& file) const
{
    const auto found = flushes_.find(file);
    return found == flushes_.end() ? 0 : found->second;
}

std::string ReadDiskFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return "";
    }
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string TestDataPath(const std::string& relative)
{
    return std::string(TARNWICK_TEST_DATA) + "/" + relative;
}
