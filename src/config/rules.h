// The user's two rule lists: sorting rules (bucket -> folder, action, mark) and header
// rules (a text in a header assigns a bucket).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Action on receipt.
enum SortAction : int32_t {
    kActionChangeIcon = 0,  // "アイコンを変更する(自動チェック時)"
    kActionShowMessage = 1, // "メッセージを表示する"
    kActionNothing = 2,     // "何もしない"
};

struct SortRule {
    int32_t position = 0;       // index in the list, rewritten before every save
    int32_t summaryCount = 0;   // messages waiting for the next summary; not stored
    std::string summaryText;    // their summary lines; not stored
    std::string bucket;         // the classifier's bucket; the rule's INI key
    std::string folder;         // destination folder's display path ("郵便受け" is the inbox)
    int32_t action = 0;         // SortAction
    bool deleteFromServer = false;
    bool duplicateThenHostDeletes = false;
    int32_t mark = 0;           // 0 none, 1-7 a colour
};

struct HeaderRule {
    std::string header;  // header name with its colon, e.g. "X-Spam-Flag:"
    std::string search;  // text searched for in that header's value
    std::string bucket;  // bucket a match assigns
};

using SortRuleList = std::vector<SortRule>;
using HeaderRuleList = std::vector<HeaderRule>;
