// The end of a retrieval as the user sees it: the summary of the messages the receive
// filter recorded, one block per sorting rule in a message box or one row per message in
// the notification window, the beeps and the new-mail icon. The decisions live here; the
// Win32 side (receive_summary_win.cpp) supplies the services below.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/host_api.h"
#include "ui/notification_rows.h"

struct PluginState;
struct Platform;
class CodePageConverter;

// The host's activity, which the summary waits out.
class HostActivity {
public:
    virtual ~HostActivity() = default;
    // Whether the host's receive command is active for the window; a host whose menu lacks
    // the command counts as idle.
    virtual bool receiveCommandActive(HostWindow window) = 0;
    // Handles one waiting message of the thread, or sleeps 1 ms when none waits. False when
    // the thread is asked to quit: waiting longer would keep the host from closing.
    virtual bool handleOneMessage() = 0;
};

// The summary's signals to the user and to the host window.
class SummarySignals {
public:
    virtual ~SummarySignals() = default;
    virtual void beep() = 0;
    // The summary text in a topmost information box owned by the window; returns when the
    // user has closed it (other messages are handled meanwhile).
    virtual void showMessageBox(HostWindow owner, const std::string& text) = 0;
    virtual void startIconAlert(HostWindow window) = 0;
    // Posts WM_COMMAND(commandId, 0) to the window, for the host's message loop to deliver.
    virtual void postCommand(HostWindow window, uint32_t commandId) = 0;
};

struct SummaryServices {
    HostActivity& activity;
    NotificationRows& notification;
    SummarySignals& signals;
};

// The caption of the summary's message box.
inline constexpr const char* kSummaryCaption = "Tarnwickメール振り分け";
// The longest header line of a block, in bytes: what a 500-byte buffer holds.
inline constexpr std::size_t kSummaryHeaderLimit = 499;

// The host counts as busy while APAIsBusy says so, or else while its receive command is
// active for the window.
bool HostIsBusy(const HostApi& host, HostActivity& activity, HostWindow window);

// The end of a retrieval (APCFolderEndRetrieve): with AfterSetBold, clears the new-mail
// count of the folder the window shows; then posts the summary command when messages were
// recorded, or else starts the new-mail icon if a message asked for it.
void EndRetrieval(PluginState& state, Platform& platform, SummarySignals& signals,
                  HostWindow frame);

// The summary command, run from the host's message loop: waits until the host is idle,
// drains the recorded messages into the rules' counts and texts (or into notification
// rows with AutoReceive), then beeps, shows the result and starts the new-mail icon. May
// be re-entered from the message loops it runs; an entry is reported once.
void RunReceiveSummary(PluginState& state, CodePageConverter& codePage,
                       const SummaryServices& services, HostWindow window);

// The header line of a rule's block: "[<bucket>]を <n> 件受信しました\n" for a rule that
// keeps mail in the inbox, else "[<folder>]へ <n> 件移動しました\n". A name too long for
// kSummaryHeaderLimit bytes is cut at a character boundary so that the line keeps its end.
std::string SummaryHeaderLine(const std::string& bucket, const std::string& folder,
                              int32_t count);

// The message-box line of one message: "  <sender>", " : " or "  " before the subject,
// a newline; parts without a display form are left out (nothing when neither has one).
std::string SummaryMessageLine(const std::string& from, const std::string& subject,
                               int32_t fromLength, CodePageConverter& codePage);

// The sender as a notification row shows it: a name in parentheses first, then the text
// before the parentheses without its last character ("taro (Taro Tanaka)" gives
// "Taro Tanaka taro"); a text without a parenthesised part stays as it is.
std::string ReorderSender(const std::string& from);
