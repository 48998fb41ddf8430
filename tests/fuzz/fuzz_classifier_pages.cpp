// The classifier's pages and the links received messages carry: session key, bucket list,
// base address and message number, and whether a link may be trusted at all.
#include <cctype>

#include "classifier/classifier_pages.h"
#include "classifier/classifier_session.h"
#include "doubles/classifier_doubles.h"
#include "fuzz_support.h"

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
    return 0;
}
