// The correction's rewrite of a stored message: the classification header replaced, the
// Subject cleaned, the file swapped in one step. Whatever the message holds, the file is
// afterwards either as it was or rewritten, and no temporary file is left beside it.
#include "classifier/reclassify.h"
#include "doubles/classifier_doubles.h"
#include "fuzz_support.h"

namespace {

constexpr std::string_view kNewHeaderLine = "X-Text-Classification: work\r\n";

bool HoldsNewHeaderLine(const std::string& text)
{
    if (text.compare(0, kNewHeaderLine.size(), kNewHeaderLine) == 0) {
        return true;
    }
    return text.find("\n" + std::string(kNewHeaderLine)) != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const bool editSubject = (input.byte() & 1) != 0;
    const std::string original(input.rest());
    const std::string path = WriteScratchFile("mail.CRV", original);

    ClassifierDoubles doubles;
    doubles.host.mailbox = FuzzScratchFolder();
    doubles.state.host = doubles.host.api;
    doubles.state.settings.SubjectEdit = editSubject ? 1 : 0;
    doubles.state.reclassify.buckets = {"work"};
    doubles.state.reclassify.currentMailPath = path;
    const bool subjectEdited = RewriteClassification(doubles.context, 0);

    const std::string after = ReadScratchFile(path);
    FUZZ_CHECK(!doubles.files.fileExists(path.substr(0, path.size() - 3) + "TMP"));
    if (after != original) {
        FUZZ_CHECK(HoldsNewHeaderLine(after));
        FUZZ_CHECK(after.find("\r\n") != std::string::npos);
    } else {
        FUZZ_CHECK(!subjectEdited);
    }
    if (original.find("X-Text-Classification:") == std::string::npos) {
        FUZZ_CHECK(after == original);
    }
    return 0;
}
