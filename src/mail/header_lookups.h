// The header lookups of a received message as line-fed steps, so that one reading of the
// header block can serve several of them. A physical line is what ReadMailChar gives up to
// an LF; a logical line is a physical line with its continuation lines (those beginning with
// a space or tab) joined by an LF each, their first blank dropped, as ReadHeaderLine gives it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "config/rules.h"
#include "mail/mail_stream.h"

// Header name the classifier adds to every message it passes on.
inline constexpr std::string_view kClassificationHeader = "X-Text-Classification:";

// Index of the first header rule whose header begins the logical header line (any letter
// case) and whose search text occurs, byte for byte, in the value after it; -1 when none.
// An empty search text occurs in every value.
int MatchHeaderRule(const HeaderRuleList& rules, std::string_view line);

// Replaces line with the next physical line, without its LF. False at the end of the file
// with no byte left.
bool ReadPhysicalLine(MailStream& stream, std::string& line);

// Joins physical lines into logical lines: each line handed in either continues the line
// being built or completes it.
class LogicalLineJoiner {
public:
    // Takes the next physical line (its bytes move in, leaving it empty); gives the logical
    // line it completed, or null. The line given stays valid until the next call.
    const std::string* add(std::string& physicalLine);
    // The end of the file: gives the logical line still being built, or null.
    const std::string* finish();

private:
    std::string pending_;
    std::string completed_;
    bool havePending_ = false;
};

// FindHeaderValue fed with physical lines: the first header whose line begins with name (any
// letter case), its value after the spaces that follow the name, unfolded, up to any NUL;
// nothing when it is empty or the header block ends first. A single empty line directly
// after an unfolded "Subject:" line does not end the block.
class HeaderValueLookup {
public:
    // A lookup not wanted (or for an empty name) is done at once, with no value.
    explicit HeaderValueLookup(std::string_view name, bool wanted = true);

    void line(const std::string& physicalLine);
    void end();
    bool done() const { return done_; }
    const std::optional<std::string>& value() const { return value_; }

private:
    bool isSubjectLine(const std::string& line, std::size_t afterName) const;
    void finish();

    std::string_view name_;
    bool done_;
    bool collecting_ = false;
    bool afterSubject_ = false;
    std::optional<std::string> value_;
};

// ClassifyMail fed with logical lines: the first line that matches a header rule gives its
// bucket, the first "X-Text-Classification:" line its value, cut as a buffer of bufferSize
// bytes holds it; nothing when the header block ends first (one empty line directly after a
// "Subject:" line is skipped).
class BucketLookup {
public:
    BucketLookup(const HeaderRuleList& rules, std::size_t bufferSize);

    void logicalLine(const std::string& line);
    void end() { done_ = true; }
    bool done() const { return done_; }
    const std::optional<std::string>& bucket() const { return bucket_; }
    // The header rule that gave the bucket, or -1 (the classification line gave it, or none).
    int matchedRule() const { return matchedRule_; }

private:
    const HeaderRuleList& rules_;
    const std::size_t bufferSize_;
    bool done_ = false;
    bool afterSubject_ = false;
    int matchedRule_ = -1;
    std::optional<std::string> bucket_;
};

// Unfolded value (see ReadFoldedValue) of the first header of the file at path whose
// line begins with name. Nothing when the file cannot be opened, the header is absent
// or its value is empty. The value ends at a NUL byte.
std::optional<std::string> FindHeaderValue(const std::string& path, std::string_view name);
