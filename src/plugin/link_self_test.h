// The link self-test: whether the plug-in can reach POPFile and sort by its buckets, checked
// without changing anything. It learns no address, keeps no session key or bucket list, writes
// nothing and sends no correction: its requests are two GETs (the start page and the bucket
// page) and TCP connection attempts to the account's POP3 port.
//
// Three steps: the inputs are gathered on the host's thread (settings, rules, the account's
// POP3 server and folders, the pending corrections); the network checks run on a thread of
// their own, each request bounded by its deadline; the findings are then judged into one line
// per check, each fine or a problem with what to do about it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "base/host_api.h"
#include "classifier/classifier_probe.h"
#include "config/rules.h"

class HttpClient;
class ProfileStore;
struct ClassifierContext;

// What the self-test checks, copied so that a worker thread can own it.
struct SelfTestInputs {
    std::string url;  // the address to test: the URL setting, or an address typed in
    // The current account's POP3 server and port; nothing when the host names no account.
    std::optional<ClassifierAccount> account;
    // Display paths of the account's own folders (the built-in ones always exist).
    std::vector<std::string> folders;
    SortRuleList sortRules;
    HeaderRuleList headerRules;
    std::size_t pendingCorrections = 0;
};

// One page asked for.
struct PageFetch {
    bool asked = false;  // false: the request was not made
    int result = -1;     // HttpClient::FetchPage's result
    std::string page;
};

// What the network checks found.
struct SelfTestFindings {
    std::optional<int> portProbe;  // the account's server and port; nothing: not probed
    std::optional<int>
        loopbackProbe;  // 127.0.0.1 and the port, asked when "localhost" did not answer
    PageFetch startPage;
    PageFetch bucketPage;
};

// One line of the report: fine ("〇 ") or a problem ("× ") with what to do.
struct SelfTestLine {
    bool fine = false;
    std::string text;  // without the mark
};

// Gathers the inputs for window's account: its "account.ini" POP3 server and port and its
// folders (a catalogue of its own; the plug-in's catalogue is left alone), the rules as given
// and the number of pending corrections (read, never changed).
SelfTestInputs GatherSelfTestInputs(const HostApi& host, ProfileStore& profile, HostWindow window,
                                    const std::string& url, const SortRuleList& sortRules,
                                    const HeaderRuleList& headerRules,
                                    ClassifierContext& classifier);

// The address the pages are asked for: url with a closing "/" added when it has none (as the
// URL setting is stored).
std::string SelfTestBase(const std::string& url);

// The network checks, in order: the POP3 port (and, for "localhost" that does not answer,
// 127.0.0.1), the start page, then the bucket page unless the start page gave no answer or
// was the password page. No page is asked for without an "http://" address.
SelfTestFindings RunSelfTestChecks(const SelfTestInputs& inputs, HttpClient& http,
                                   PortProber& prober);

// The report, one line per check in this order: POP3 port, URL, start page, session key or
// password page, bucket page, each sorting rule's bucket in POPFile, each header rule's bucket
// in the sorting rules, each sorting rule's folder in the account, pending corrections. A check
// that cannot be made because an earlier one failed gives no line.
std::vector<SelfTestLine> JudgeSelfTest(const SelfTestInputs& inputs,
                                        const SelfTestFindings& findings);

// The lines as the dialog shows them: each with its mark, ended by CR LF.
std::string FormatSelfTestReport(const std::vector<SelfTestLine>& lines);

// The marks that begin a fine line and a problem line.
inline constexpr const char* kSelfTestFineMark = "〇 ";
inline constexpr const char* kSelfTestProblemMark = "× ";
