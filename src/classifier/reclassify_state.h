// What the correction of a message's bucket keeps between calls: the classifier's bucket
// list and session key, and the message the next correction works on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Which kind of correction submenu was filled last.
enum CorrectionMode : int32_t {
    kCorrectOneInFolder = 0,       // one message selected in a folder window
    kCorrectViewedMail = 1,        // the message shown in a view window
    kCorrectSeveralInFolder = 2,   // several messages selected in a folder window
};

struct ReclassifyState {
    std::vector<std::string> buckets;   // in page order; duplicates kept
    std::string sessionKey;             // as last found on a classifier page
    std::string currentMailPath;        // full path of the message file to correct next
    std::string currentClassification;  // its "X-Text-Classification:" value, last read
    int32_t messageNumber = 0;          // the classifier's number of the message ("view=")
    int32_t correctionMode = kCorrectOneInFolder;
};

// Start-up state: no buckets, the texts empty.
void ResetReclassifyState(ReclassifyState& state);
