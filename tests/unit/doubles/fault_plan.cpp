#include "doubles/fault_plan.h"

namespace {
FaultPlan* activePlan = nullptr;
}

FaultPlan::FaultPlan(int failAt) : failAt_(failAt), previous_(activePlan)
{
    activePlan = this;
}

FaultPlan::~FaultPlan()
{
    activePlan = previous_;
}

bool FaultPlan::fails(const char* operation)
{
    ++calls_;
    if (calls_ != failAt_) {
        return false;
    }
    failed_ = operation;
    return true;
}

bool FaultPoint(const char* operation)
{
    return activePlan != nullptr && activePlan->fails(operation);
}

std::string FaultingFileSystemFake::createTempFile(const std::string& folder,
                                                   const std::string& prefix)
{
    return FaultPoint("createTempFile") ? "" : FileSystemFake::createTempFile(folder, prefix);
}

bool FaultingFileSystemFake::deleteFile(const std::string& path)
{
    return !FaultPoint("deleteFile") && FileSystemFake::deleteFile(path);
}

bool FaultingFileSystemFake::replaceFile(const std::string& from, const std::string& to)
{
    return !FaultPoint("replaceFile") && FileSystemFake::replaceFile(from, to);
}

std::string FaultingProfileStoreFake::readString(const std::string& file, const std::string& section,
                                                 const std::string& key,
                                                 const std::string& defaultValue,
                                                 std::size_t bufferSize)
{
    if (FaultPoint("GetPrivateProfileString")) {
        return defaultValue.substr(0, bufferSize > 0 ? bufferSize - 1 : 0);
    }
    return ProfileStoreFake::readString(file, section, key, defaultValue, bufferSize);
}

int FaultingHttpClientFake::FetchPage(const std::string& url, std::string& out)
{
    return FaultPoint("FetchPage") ? -1 : HttpClientFake::FetchPage(url, out);
}

int FaultingHttpClientFake::PostForm(const std::string& url, bool readResponse, std::string& body)
{
    return FaultPoint("PostForm") ? -1 : HttpClientFake::PostForm(url, readResponse, body);
}
