// Cost of the receive filter per received message on the generated corpus, against the floor
// of opening the message and reading its header block once. The host's own work (saving and
// importing the copy) is left out: its services here answer at once.
//
//   cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release && cmake --build build/bench -j2
//   build/bench/tests/bench/tarnwick_bench --benchmark_filter='Receive'
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "base/profile_store.h"
#include "config/rule_store.h"
#include "base/code_page.h"
#include "base/file_system.h"
#include "base/platform.h"
#include "plugin/plugin_state.h"
#include "host/folder_tree.h"
#include "mail/body_summary.h"
#include "mail/classification.h"
#include "mail/header_lookups.h"
#include "mail/mail_text.h"
#include "mail/received_mail.h"
#include "plugin/receive_filter.h"
#include "mail_corpus.h"

namespace {

// No folder window is open: the bold decoration costs nothing.
class NoFolderTrees : public FolderBoldMarker {
public:
    void markFolderBold(const std::string&, const std::string&) override {}
};

// The UTF-8 conversion is the system's business and not measured here.
class PassThroughCodePageFake : public CodePageConverter {
public:
    std::string utf8ToAnsi(const std::string& utf8) override { return utf8; }
};

// Every account is titled "Home"; nothing is written.
class AccountTitleProfileFake : public ProfileStore {
public:
    std::string readString(const std::string&, const std::string&, const std::string&,
                           const std::string&, std::size_t) override
    {
        return "Home";
    }
    std::vector<std::string> readKeyNames(const std::string&, const std::string&, std::size_t) override
    {
        return {};
    }
    void writeString(const std::string&, const std::string&, const std::string&,
                     const std::string&) override {}
    void deleteSection(const std::string&, const std::string&) override {}
    void flush(const std::string&) override {}
};

// Temporary files by name only.
class NamedTempFileFake : public FileSystem {
public:
    std::string mainExecutablePath() override { return "C:\\Corvane32\\Corvane32.exe"; }
    std::string tempFolder() override { return "C:\\Temp\\"; }
    std::string createTempFile(const std::string& folder, const std::string& prefix) override
    {
        return folder + prefix + ".tmp";
    }
    // Every account file keeps its stamp, as on a day nobody edits it.
    std::optional<FileStamp> fileStamp(const std::string&) override { return FileStamp{1, 1}; }
    bool fileExists(const std::string&) override { return false; }
    bool deleteFile(const std::string&) override { return true; }
    bool replaceFile(const std::string&, const std::string&) override { return true; }
};

namespace fs = std::filesystem;

// The corpus as the host keeps received messages: "<root>acct\inbox.box\00001.CRV", each a
// link to a corpus file. On this system the backslashed part is one file name.
class CorpusMailbox {
public:
    CorpusMailbox()
    {
        std::string pattern = (fs::temp_directory_path() / "tarnwick-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            return;
        }
        directory_ = pattern;
        root_ = directory_ + "/";
        const std::vector<std::string>& corpus = MailCorpus();
        for (size_t index = 0; index < corpus.size(); ++index) {
            char name[48];
            std::snprintf(name, sizeof name, "acct\\inbox.box\\%08zu.CRV", index + 1);
            const std::string path = root_ + name;
            std::error_code error;
            fs::create_hard_link(corpus[index], path, error);
            if (error) {
                fs::copy_file(corpus[index], path, error);
            }
            paths_.push_back(path);
        }
    }
    ~CorpusMailbox()
    {
        std::error_code ignored;
        fs::remove_all(directory_, ignored);
    }
    CorpusMailbox(const CorpusMailbox&) = delete;
    CorpusMailbox& operator=(const CorpusMailbox&) = delete;

    const std::string& root() const { return root_; }
    const std::vector<std::string>& paths() const { return paths_; }

private:
    std::string directory_;
    std::string root_;
    std::vector<std::string> paths_;
};

const CorpusMailbox& TheCorpusMailbox()
{
    static const CorpusMailbox mailbox;
    return mailbox;
}

// Host services that succeed at once.
const char* TW_STDCALL MailboxRootFake() { return TheCorpusMailbox().root().c_str(); }
int TW_STDCALL ImportFileFake(const char*, const char*, int) { return 1; }
int TW_STDCALL SaveMailFake(const char*, const char*, int, int) { return 1; }
int TW_STDCALL MarkMailFake(const char*, int, int) { return 1; }
int TW_STDCALL DeleteMailFake(const char*) { return 1; }

// A rule set as users keep it: the classifier's buckets, one of them shown with its excerpt,
// and header rules for the spam flags other filters set and for one important sender.
PluginState ReceiveState()
{
    PluginState state;
    state.host.APAGetMailbox = MailboxRootFake;
    state.host.APAImportFile = ImportFileFake;
    state.host.APASaveMail = SaveMailFake;
    state.host.APAMarkMail = MarkMailFake;
    state.host.APADeleteMail = DeleteMailFake;
    state.settings.DispDialog = true;
    state.settings.DispFrom = true;
    state.settings.DispSubject = true;
    state.settings.AutoReceive = true;
    state.settings.AfterSetBold = true;
    const char* const buckets[][2] = {
        {"spam", "ごみ箱"}, {"work", "Work"}, {"personal", "郵便受け"}, {"lists", "Lists\\ML"}};
    for (const auto& bucket : buckets) {
        SortRule rule;
        rule.position = static_cast<int32_t>(state.sortRules.size());
        rule.bucket = bucket[0];
        rule.folder = bucket[1];
        rule.action = rule.bucket == "work" ? kActionShowMessage : kActionChangeIcon;
        rule.mark = rule.bucket == "spam" ? 7 : 0;
        state.sortRules.push_back(rule);
    }
    state.headerRules = {{"X-Spam-Flag:", "YES", "spam"},
                         {"X-Barracuda-Spam-Flag:", "YES", "spam"},
                         {"From:", "boss@example.jp", "work"}};
    return state;
}

// Floor: open, read the header block line by line with stdio, close.
void HeaderBlockFloor(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return;
    }
    char line[4096];
    while (std::fgets(line, sizeof line, file) != nullptr) {
        if (line[0] == '\n' || (line[0] == '\r' && line[1] == '\n')) {
            break;
        }
    }
    benchmark::DoNotOptimize(line);
    std::fclose(file);
}

const PluginState& SharedState()
{
    static const PluginState state = ReceiveState();
    return state;
}

void Classification(const std::string& path)
{
    const PluginState& state = SharedState();
    const std::optional<std::string> bucket = ClassifyMail(path, state.headerRules);
    benchmark::DoNotOptimize(bucket ? FindSortRule(state.sortRules, *bucket) : nullptr);
}

// What the filter reads of a message whose rule shows it with its excerpt: classification,
// From, Subject and the excerpt.
void ClassificationLookupsAndExcerpt(const std::string& path)
{
    static PassThroughCodePageFake codePage;
    Classification(path);
    benchmark::DoNotOptimize(FindHeaderValue(path, "From:"));
    benchmark::DoNotOptimize(FindHeaderValue(path, "Subject:"));
    benchmark::DoNotOptimize(ExtractBodySummary(path, codePage));
}

// What the filter reads now: one opening, one pass over the header block, the excerpt from the
// same open file when the rule shows the message with it.
void OnePassHeaderAndExcerpt(const std::string& path)
{
    static PassThroughCodePageFake codePage;
    const PluginState& state = SharedState();
    ReceivedMail mail(path);
    const ReceivedHeader header = mail.readHeader(state.headerRules, true, true);
    const SortRule* rule = header.bucket ? FindSortRule(state.sortRules, *header.bucket) : nullptr;
    if (rule != nullptr && rule->action == kActionShowMessage) {
        benchmark::DoNotOptimize(mail.excerpt(codePage));
    }
    benchmark::DoNotOptimize(header);
}

template <void (*Work)(const std::string&)>
void ReceivePerMessage(benchmark::State& state)
{
    const std::vector<std::string>& corpus = MailCorpus();
    size_t next = 0;
    for (auto _ : state) {
        Work(corpus[next]);
        next = (next + 1) % corpus.size();
    }
    state.SetItemsProcessed(state.iterations());
}

// The whole filter over the corpus, the host answering at once: the above plus the rule's
// filing, mark, record and count. Entries are drained as the summary would drain them.
void ReceiveFilterWhole(benchmark::State& benchmarkState)
{
    const std::vector<std::string>& corpus = TheCorpusMailbox().paths();
    PluginState state = ReceiveState();
    AccountTitleProfileFake profile;
    NamedTempFileFake files;
    PassThroughCodePageFake codePage;
    Platform platform{profile, files, codePage};
    NoFolderTrees folderTrees;
    size_t next = 0;
    for (auto _ : benchmarkState) {
        benchmark::DoNotOptimize(FilterReceivedMail(state, platform, folderTrees, corpus[next]));
        if (state.receivedEntries.size() > 1000) {
            state.receivedEntries.clear();
        }
        next = (next + 1) % corpus.size();
    }
    benchmarkState.SetItemsProcessed(benchmarkState.iterations());
}

BENCHMARK_TEMPLATE(ReceivePerMessage, HeaderBlockFloor);
BENCHMARK_TEMPLATE(ReceivePerMessage, Classification);
BENCHMARK_TEMPLATE(ReceivePerMessage, ClassificationLookupsAndExcerpt);
BENCHMARK_TEMPLATE(ReceivePerMessage, OnePassHeaderAndExcerpt);
BENCHMARK(ReceiveFilterWhole);

}  // namespace
