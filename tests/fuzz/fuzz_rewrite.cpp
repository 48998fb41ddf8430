// The correction's rewrite of a stored message: the classification header replaced, the
// Subject cleaned, the file swapped in one step. Whatever the message holds, the file is
// afterwards either as it was or rewritten, and no temporary file is left beside it.
#include "doubles/file_system_fake.h"
#include "mail/classification_rewriter.h"
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

    FileSystemFake files;
    const bool subjectEdited = RewriteClassificationHeader(files, path, "work", editSubject);

    const std::string after = ReadScratchFile(path);
    FUZZ_CHECK(!files.fileExists(path.substr(0, path.size() - 3) + "TMP"));
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
