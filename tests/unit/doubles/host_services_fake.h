// A host service table for tests: every service records its call, and the services the
// plug-in relies on answer from values the test sets. The services are plain functions,
// so one fake at a time is active: the one constructed last and not yet destroyed.
#pragma once

#include <string>
#include <vector>

#include "base/host_api.h"

class HostServicesFake {
public:
    struct Call {
        std::string service;
        std::vector<std::string> arguments;  // texts as passed, numbers in decimal
    };

    HostServicesFake();
    ~HostServicesFake();
    HostServicesFake(const HostServicesFake&) = delete;
    HostServicesFake& operator=(const HostServicesFake&) = delete;

    // The table handed to the code under test.
    HostApi api;

    // Answers of the services.
    std::string mailbox;          // APAGetMailbox
    std::string account;          // APAGetAccount
    bool accountKnown = true;     // false: APAGetAccount returns null
    int saveResult = 1;           // APASaveMail
    int importResult = 1;         // APAImportFile
    std::string currentEntry;     // APAFolderGetCurrentEntry; empty: null
    std::string viewPath;         // APAViewGetPath; empty: null

    std::vector<Call> calls;

    // The recorded calls of one service, in order.
    std::vector<Call> callsTo(const std::string& service) const;
};
