// The classifier's pages and the links received messages carry: session key, bucket list,
// base address and message number, and whether a link may be trusted at all; and the same
// page judged by the link self-test as its start page and bucket page.
#include <algorithm>
#include <cctype>

#include "classifier/classifier_pages.h"
#include "classifier/classifier_session.h"
#include "doubles/classifier_doubles.h"
#include "doubles/port_prober_fake.h"
#include "fuzz_support.h"
#include "plugin/link_self_test.h"

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i]))) {
            return false;
        }
    }
    return true;
}

// An independent reading of "names this machine": the scheme, one of the three loopback
// names, then a port, a path, a query or nothing.
bool PlainlyLocal(std::string_view link)
{
    for (std::string_view scheme : {"http://", "https://"}) {
        if (link.substr(0, scheme.size()) != scheme) {
            continue;
        }
        const std::string_view rest = link.substr(scheme.size());
        for (std::string_view host : {"127.0.0.1", "localhost", "[::1]"}) {
            if (StartsWithNoCase(rest, host) &&
                (rest.size() == host.size() || std::string_view(":/?#").find(rest[host.size()]) !=
                                                   std::string_view::npos)) {
                const std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
                return authority.find_first_of("@\\%") == std::string_view::npos;
            }
        }
    }
    return false;
}

// A line of that kind (its beginning: addresses and names follow, and may hold anything).
bool HasLine(const std::vector<SelfTestLine>& lines, bool fine, std::string_view start)
{
    return std::any_of(lines.begin(), lines.end(), [&](const SelfTestLine& line) {
        return line.fine == fine && line.text.compare(0, start.size(), start) == 0;
    });
}

// The self-test over page as both pages, with rules naming a bucket the page may or may not
// list: one line per check, never a line break inside one, a bucket list only from a page
// with a session link, and nothing asked for once the start page asks for a password.
void JudgeAsSelfTest(const std::string& url, const std::string& page)
{
    SelfTestInputs inputs;
    inputs.url = url;
    inputs.account = ClassifierAccount{"localhost", 8110};
    inputs.sortRules.resize(2);
    inputs.sortRules[0].bucket = "spam";
    inputs.sortRules[0].folder = "ごみ箱";
    inputs.sortRules[1].bucket = "Work";
    inputs.sortRules[1].folder = "仕事";
    inputs.headerRules = {HeaderRule{"X-Flag:", "YES", "junk"}};
    HttpClientFake http;
    const std::string base = SelfTestBase(url);
    http.serve(base, page);
    http.serve(base + "buckets", page);
    PortProberFake prober;
    prober.result = -1;
    const std::vector<SelfTestLine> lines =
        JudgeSelfTest(inputs, RunSelfTestChecks(inputs, http, prober));
    // The page as the client hands it over (cut at NULs).
    HttpClientFake reader;
    reader.serve(base, page);
    std::string received;
    reader.FetchPage(base, received);

    FUZZ_CHECK(lines.size() >= 5 && lines.size() <= 10);
    for (const SelfTestLine& line : lines) {
        FUZZ_CHECK(!line.text.empty());
        FUZZ_CHECK(line.text.find_first_of(std::string("\r\n\0", 3)) == std::string::npos);
    }
    FUZZ_CHECK(http.requests().size() <= 2);
    const bool listed = HasLine(lines, true, "POPFileのバケツ (");
    FUZZ_CHECK(!listed || FindSessionKey(received));
    if (IsPasswordPage(received)) {
        FUZZ_CHECK(http.requests().size() <= 1);
        FUZZ_CHECK(!listed);
    }
    if (listed) {
        const std::vector<std::string> buckets =
            FindBucketNames(received, FindSessionKey(received)->markerPosition);
        const bool hasWork = std::find(buckets.begin(), buckets.end(), "Work") != buckets.end();
        FUZZ_CHECK(hasWork !=
                   HasLine(lines, false, "振り分け設定のバケツ「Work」がPOPFileにありません"));
    }
    const std::string report = FormatSelfTestReport(lines);
    FUZZ_CHECK(std::count(report.begin(), report.end(), '\n') == static_cast<long>(lines.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const std::string url(input.until('\n'));
    const std::string page(input.rest());

    if (const auto session = FindSessionKey(page)) {
        FUZZ_CHECK(session->key.find('"') == std::string::npos);
        for (const std::string& bucket : FindBucketNames(page, session->markerPosition)) {
            FUZZ_CHECK(bucket.find_first_of("\"\r\n") == std::string::npos);
        }
    }
    if (const auto base = ClassifierBaseFromLink(page)) {
        FUZZ_CHECK(page.compare(0, base->size(), *base) == 0);
    }
    if (const auto number = ViewNumberFromLink(page)) {
        FUZZ_CHECK(*number >= 0);
    }
    if (IsTrustedLink(page, "")) {
        FUZZ_CHECK(PlainlyLocal(page));
    }
    if (IsTrustedLink(page, url)) {
        FUZZ_CHECK(PlainlyLocal(page) || (!url.empty() && page.compare(0, url.size(), url) == 0));
    }

    // The same page as the classifier's answer, through the bucket fetch and a link learnt.
    ClassifierDoubles doubles;
    doubles.state.host = doubles.host.api;
    doubles.state.settings.URL = "http://127.0.0.1:8080/";
    doubles.http.serve("http://127.0.0.1:8080/buckets", page);
    FetchBuckets(doubles.classifier, true);
    for (const std::string& bucket : doubles.state.reclassify.session.buckets) {
        FUZZ_CHECK(bucket.find_first_of("\r\n") == std::string::npos);
    }
    doubles.state.settings.URL.clear();
    if (LearnClassifierAddress(doubles.classifier, page)) {
        FUZZ_CHECK(PlainlyLocal(doubles.state.settings.URL));
    }

    // A URL from a field or the INI file holds no line break and no NUL.
    if (url.find_first_of(std::string("\r\0", 2)) == std::string::npos) {
        JudgeAsSelfTest(url, page);
    }
    return 0;
}
