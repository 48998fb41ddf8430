#include "ui/rule_editing.h"

#include "base/sjis.h"

namespace {
constexpr const char* kNoClassifierBucket = "spam";
constexpr const char* kUnclassifiedBucket = "unclassified";
constexpr const char* kDeleteQuestionTail = " を削除してもよろしいですか？";
}  // namespace

std::vector<std::string> BucketChoices(const std::vector<std::string>& classifierBuckets)
{
    std::vector<std::string> choices = classifierBuckets;
    if (choices.empty()) {
        choices.emplace_back(kNoClassifierBucket);
    }
    choices.emplace_back(kUnclassifiedBucket);
    return choices;
}

std::string JoinMessages(const std::vector<std::string>& messages)
{
    std::string joined;
    for (const std::string& message : messages) {
        if (!joined.empty()) {
            joined += '\n';
        }
        joined += message;
    }
    return joined;
}

std::string DeleteQuestion(const std::string& subject)
{
    return subject + kDeleteQuestionTail;
}

std::string FieldText(const std::string& text)
{
    return text.substr(0, CutWithoutSplitting(text, kFieldTextLimit));
}
