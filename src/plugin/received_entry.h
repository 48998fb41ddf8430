#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One message the receive filter filed, waiting for the end-of-retrieval summary.
struct ReceivedEntry {
    std::string from;     // raw "From:" value, still encoded; empty when not read
    std::string subject;  // raw "Subject:" value; empty when not read
    std::string excerpt;  // body excerpt, only for AutoReceive and action 1
    int32_t ruleIndex = -1;  // position of the applied sorting rule
};

using ReceivedEntryList = std::vector<ReceivedEntry>;
