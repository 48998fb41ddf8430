#include "plugin/link_self_test_win.h"

#include <memory>

#include "classifier/classifier_probe_win.h"
#include "classifier/deadline_worker_win.h"
#include "classifier/http_client_win.h"
#include "plugin/link_self_test.h"
#include "plugin/process_win.h"
#include "ui/self_test_dialog_win.h"

namespace {

std::string ProblemReport(const char* text)
{
    return FormatSelfTestReport({SelfTestLine{false, text}});
}

// The checks on this (worker) thread, with an HTTP client and a prober of their own: the
// process's may be gone by the time a given-up request ends.
void CheckAndDeliver(const SelfTestInputs& inputs, const SelfTestDelivery& delivery)
{
    try {
        WinInetHttpClient http;
        DeadlinePortProber prober(kRequestDeadlineMs);
        const SelfTestFindings findings = RunSelfTestChecks(inputs, http, prober);
        delivery.deliver(FormatSelfTestReport(JudgeSelfTest(inputs, findings)));
    } catch (...) {
        delivery.deliver(ProblemReport("確認の途中で失敗しました。もう一度お試しください"));
    }
}

}  // namespace

void RunLinkSelfTest(PluginProcess& process, HWND owner, HostWindow accountWindow,
                     const std::string& url)
{
    PluginState& state = process.state;
    CorrectionContext correction = process.correction();
    auto inputs = std::make_shared<const SelfTestInputs>(
        GatherSelfTestInputs(state.host, process.profile, accountWindow, url, state.sortRules,
                             state.headerRules, correction.classifier));
    ShowSelfTestDialog(owner, static_cast<HINSTANCE>(state.pluginInstance),
                       [inputs](const SelfTestDelivery& delivery) {
                           if (!RunDetached(
                                   [inputs, delivery] { CheckAndDeliver(*inputs, delivery); })) {
                               delivery.deliver(ProblemReport(
                                   "確認を始められませんでした。もう一度お試しください"));
                           }
                       });
}
