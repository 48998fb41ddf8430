// What the sorting-rule and header-rule dialogs share: the bucket names the edit dialogs
// offer, and how the edit dialogs take texts and phrase their messages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Longest text an edit dialog takes from one of its fields, in bytes.
inline constexpr std::size_t kFieldTextLimit = 499;
// Longest text a user can type into an edit dialog's combo box, in bytes.
inline constexpr int kComboTypingLimit = 50;

// The bucket combo's items: the classifier's buckets in its order, or "spam" alone when it
// gave none; then always "unclassified" (even when the classifier named it already).
std::vector<std::string> BucketChoices(const std::vector<std::string>& classifierBuckets);

// The messages of the failed checks, one per line (line feeds between); empty for none.
std::string JoinMessages(const std::vector<std::string>& messages);

// The question asked before a rule is deleted: subject followed by " を削除してもよろしいですか？".
std::string DeleteQuestion(const std::string& subject);

// A field's text as an edit dialog keeps it: at most kFieldTextLimit bytes, cut before a
// double-byte character that would not fit whole.
std::string FieldText(const std::string& text);
