#include "classifier/classifier_probe.h"

#include "config/profile_store.h"
#include "config/settings_store.h"

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
}  // namespace

bool IsClassifierReachable(ClassifierProbeState& probe, const HostApi& host,
                           ProfileStore& profile, PortProber& prober, HostWindow window)
{
    if (window != nullptr) {
        probe.window = window;
    }
    if (probe.connectValue == -1) {
        const std::string accountFile = AccountFilePath(host, probe.window);
        probe.connectValue = ProfileNumber(ReadAccountValue(profile, accountFile, "Connect"));
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
