// Cost of the mail readers per stored message, against the floor of opening a message
// and reading its header block once with plain stdio reads. Each case is one function
// over a message path; to add a case, write the function and one BENCHMARK_TEMPLATE line.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "base/code_page.h"
#include "mail/body_summary.h"
#include "mail/header_lookups.h"
#include "mail/mail_text.h"
#include "mail_corpus.h"

namespace {

// The UTF-8 conversion is the system's business and not measured here.
class PassThroughConverterFake : public CodePageConverter {
public:
    std::string utf8ToAnsi(const std::string& utf8) override { return utf8; }
};

// Floor: open, read the header block line by line with stdio, close.
void ReadHeaderBlockOnce(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return;
    char line[4096];
    while (std::fgets(line, sizeof line, file) != nullptr) {
        if (line[0] == '\n' || (line[0] == '\r' && line[1] == '\n')) break;
    }
    benchmark::DoNotOptimize(line);
    std::fclose(file);
}

// The receive filter's scan: logical header lines up to the classification header.
void ScanToClassification(const std::string& path) {
    MailStream stream(path);
    std::string line;
    bool afterSubject = false;
    for (;;) {
        if (ReadHeaderLine(stream, line) == 0) {
            if (!afterSubject || stream.atEnd()) break;
            afterSubject = false;
            continue;
        }
        if (HasPrefixNoCase(line, "X-Text-Classification:")) break;
        afterSubject = HasPrefixNoCase(line, "Subject:");
    }
    benchmark::DoNotOptimize(line);
}

void FindFromAndSubject(const std::string& path) {
    benchmark::DoNotOptimize(FindHeaderValue(path, "From:"));
    benchmark::DoNotOptimize(FindHeaderValue(path, "Subject:"));
}

void ExtractSummary(const std::string& path) {
    static PassThroughConverterFake codePage;
    benchmark::DoNotOptimize(ExtractBodySummary(path, codePage));
}

// Everything the receive filter asks of the readers for one message.
void AllReaderWork(const std::string& path) {
    ScanToClassification(path);
    FindFromAndSubject(path);
    ExtractSummary(path);
}

template <void (*Work)(const std::string&)>
void PerMessage(benchmark::State& state) {
    const std::vector<std::string>& corpus = MailCorpus();
    size_t next = 0;
    for (auto _ : state) {
        Work(corpus[next]);
        next = (next + 1) % corpus.size();
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK_TEMPLATE(PerMessage, ReadHeaderBlockOnce);
BENCHMARK_TEMPLATE(PerMessage, ScanToClassification);
BENCHMARK_TEMPLATE(PerMessage, FindFromAndSubject);
BENCHMARK_TEMPLATE(PerMessage, ExtractSummary);
BENCHMARK_TEMPLATE(PerMessage, AllReaderWork);

}  // namespace
