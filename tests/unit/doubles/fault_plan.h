// Fault injection for native tests: every host service and file operation a test routes
// through FaultPoint() counts as one call, and the call whose number the active plan names
// fails. Running a flow once per number, until a run reaches no such call, makes every
// call of the flow fail in turn.
//
// The doubles here decorate the usual fakes so that their operations are such calls:
// FaultingFileSystemFake (temporary files, delete, replace), FaultingProfileStoreFake
// (profile reads give the default), FaultingHttpClientFake (requests give -1). The stdio
// calls of the mail streams are routed here by tests/unit/fault_injection/stdio_faults.cpp.
#pragma once

#include <string>
#include <vector>

#include "doubles/file_system_fake.h"
#include "doubles/http_client_fake.h"
#include "doubles/profile_store_fake.h"

class FaultPlan {
public:
    // Fails the failAt-th call (from 1) while it is active; 0 fails nothing.
    explicit FaultPlan(int failAt);
    ~FaultPlan();
    FaultPlan(const FaultPlan&) = delete;
    FaultPlan& operator=(const FaultPlan&) = delete;

    // Counts a call of operation; true when this is the one to fail.
    bool fails(const char* operation);

    int calls() const { return calls_; }
    bool triggered() const { return !failed_.empty(); }
    // The operation that failed, empty when none did.
    const std::string& failedOperation() const { return failed_; }

private:
    int failAt_;
    int calls_ = 0;
    std::string failed_;
    FaultPlan* previous_;
};

// One call of operation under the active plan, if any: true when it is to fail.
bool FaultPoint(const char* operation);

class FaultingFileSystemFake : public FileSystemFake {
public:
    std::string createTempFile(const std::string& folder, const std::string& prefix) override;
    bool deleteFile(const std::string& path) override;
    bool replaceFile(const std::string& from, const std::string& to) override;
};

class FaultingProfileStoreFake : public ProfileStoreFake {
public:
    std::string readString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& defaultValue,
                           std::size_t bufferSize) override;
};

class FaultingHttpClientFake : public HttpClientFake {
public:
    int FetchPage(const std::string& url, std::string& out) override;
    int PostForm(const std::string& url, bool readResponse, std::string& body) override;
};
