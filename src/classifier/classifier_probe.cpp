#include "classifier/classifier_probe.h"

#include "base/profile_store.h"
#include "config/settings_store.h"

#include <limits>

namespace {
constexpr const char* kAccountFileName = "account.ini";
constexpr const char* kAccountSection = "Property";
constexpr std::size_t kAccountValueBufferSize = 512;
constexpr int32_t kLargestPort = 65535;

// The account file of the probe window's account; empty when the host names no account.
std::string AccountFilePath(const HostApi& host, HostWindow window)
{
    const char* accountFolder = host.APAGetAccount(window);
    if (accountFolder == nullptr) {
        return "";
    }
    return std::string(accountFolder) + kAccountFileName;
}

std::string ReadAccountValue(ProfileStore& profile, const std::string& accountFile,
                             const char* key)
{
    if (accountFile.empty()) {
        return "";
    }
    return profile.readString(accountFile, kAccountSection, key, "", kAccountValueBufferSize);
}

// "Connect" is its leading decimal digits, 0 without any: a sign or a blank is not a
// digit, so "-1" needs no check (and is never taken for the "not read" mark).
int32_t ConnectValue(const std::string& text)
{
    constexpr int32_t kLargest = std::numeric_limits<int32_t>::max();
    int32_t number = 0;
    for (const char symbol : text) {
        if (symbol < '0' || symbol > '9') {
            break;
        }
        const int digit = symbol - '0';
        if (number > (kLargest - digit) / 10) {
            return kLargest;
        }
        number = number * 10 + digit;
    }
    return number;
}
}  // namespace

bool IsClassifierReachable(ClassifierProbeState& probe, const HostApi& host,
                           ProfileStore& profile, PortProber& prober, HostWindow window)
{
    if (window != nullptr) {
        probe.window = window;
    }
    if (probe.connectValue == -1) {
        const std::string accountFile = AccountFilePath(host, probe.window);
        probe.connectValue = ConnectValue(ReadAccountValue(profile, accountFile, "Connect"));
    }
    if (probe.connectValue == 0) {
        return true;
    }
    if (probe.port == 0) {
        const std::string accountFile = AccountFilePath(host, probe.window);
        probe.port = ProfileNumber(ReadAccountValue(profile, accountFile, "POP3Port"));
        probe.server = ReadAccountValue(profile, accountFile, "POP3Server");
    }
    // A port outside the TCP range would be cut to some other port by the conversion.
    if (probe.port <= 0 || probe.port > kLargestPort) {
        return true;
    }
    return prober.ProbeClassifierPort(probe.server, probe.port) != -1;
}

std::optional<ClassifierAccount> ReadClassifierAccount(const HostApi& host, ProfileStore& profile,
                                                       HostWindow window)
{
    const std::string accountFile = AccountFilePath(host, window);
    if (accountFile.empty()) {
        return std::nullopt;
    }
    ClassifierAccount account;
    account.port = ProfileNumber(ReadAccountValue(profile, accountFile, "POP3Port"));
    account.server = ReadAccountValue(profile, accountFile, "POP3Server");
    return account;
}
