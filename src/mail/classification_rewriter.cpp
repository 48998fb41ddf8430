#include "mail/classification_rewriter.h"

#include <optional>
#include <string_view>

#include "base/file_system.h"
#include "mail/classification.h"
#include "mail/mail_stream.h"
#include "mail/mail_text.h"

namespace {
constexpr std::string_view kSubjectHeader = "Subject:";
constexpr std::string_view kUnclassifiedPrefix = "[unclassified]";
constexpr const char* kTempSuffix = "TMP";
// ReadMailLine with a 1023-byte buffer keeps at most 1022 bytes of a line per read.
constexpr std::size_t kRewriteLineBufferSize = 1023;

// Beside the message file, differing only in its last three characters. Nothing when no
// such distinct name exists (a name that already ends in "TMP" would overwrite itself).
std::optional<std::string> RewriteTempPath(const std::string& mailPath)
{
    const std::size_t suffixLength = std::string_view(kTempSuffix).size();
    if (mailPath.size() <= suffixLength) {
        return std::nullopt;
    }
    std::string temp = mailPath.substr(0, mailPath.size() - suffixLength) + kTempSuffix;
    if (EqualsNoCase(temp, mailPath)) {
        return std::nullopt;
    }
    return temp;
}

// Removes "[unclassified]" and the blanks after it from the start of a Subject value.
// Returns whether the line changed.
bool RemoveUnclassifiedPrefix(std::string& subjectLine)
{
    const std::size_t valueStart =
        kSubjectHeader.size() +
        SkipBlanks(std::string_view(subjectLine).substr(kSubjectHeader.size()));
    if (std::string_view(subjectLine).substr(valueStart, kUnclassifiedPrefix.size()) !=
        kUnclassifiedPrefix) {
        return false;
    }
    const std::size_t prefixEnd = valueStart + kUnclassifiedPrefix.size();
    const std::size_t restStart =
        prefixEnd + SkipBlanks(std::string_view(subjectLine).substr(prefixEnd));
    subjectLine.erase(valueStart, restStart - valueStart);
    return true;
}

// Copies a mail file into a new file with the classification header replaced; every line
// end of the new file is CR LF.
class ClassificationRewriter {
public:
    ClassificationRewriter(MailStream& in, MailWriteStream& out, std::string bucket,
                           bool editSubject)
        : in_(in), out_(out), bucket_(std::move(bucket)), editSubject_(editSubject)
    {
    }

    void run()
    {
        std::string line;
        bool previousWasSubject = false;
        while (ok_ && ReadMailLine(in_, line, kRewriteLineBufferSize)) {
            const bool wholeLine = line.back() == '\n';
            if (line == "\n") {
                if (previousWasSubject) {
                    // The header scans skip this line too; it goes for good here.
                    previousWasSubject = false;
                    continue;
                }
                write(line);
                copyRest();
                return;
            }
            if (std::string_view(line).substr(0, kClassificationHeader.size()) ==
                kClassificationHeader) {
                write(std::string(kClassificationHeader) + " " + bucket_ + "\n");
                if (!wholeLine) {
                    skipRestOfLine();
                }
                copyRest();
                rewritten_ = true;
                return;
            }
            previousWasSubject = HasPrefixNoCase(line, kSubjectHeader);
            if (previousWasSubject && editSubject_ && RemoveUnclassifiedPrefix(line)) {
                subjectEdited_ = true;
            }
            write(line);
            if (!wholeLine) {
                copyRestOfLine();
            }
        }
    }

    // The header was found, the whole input read and every byte written (the output still
    // needs closing). A read error looks like the end of the file to the copy, so without
    // the check a message cut short would replace the whole one.
    bool rewritten() const { return rewritten_ && ok_ && !in_.failed(); }
    bool subjectEdited() const { return subjectEdited_; }

private:
    void write(std::string_view text)
    {
        if (ok_ && WriteMailString(text, out_) < 0) {
            ok_ = false;
        }
    }

    void writeByte(int byte)
    {
        if (ok_ && WriteMailChar(byte, out_) < 0) {
            ok_ = false;
        }
    }

    void copyRestOfLine()
    {
        int byte;
        while (ok_ && (byte = ReadMailChar(in_)) != -1) {
            writeByte(byte);
            if (byte == '\n') {
                break;
            }
        }
    }

    // The rest of a replaced header line that did not fit the read buffer: dropped, so
    // that it does not turn into a line of its own.
    void skipRestOfLine()
    {
        int byte;
        while ((byte = ReadMailChar(in_)) != -1 && byte != '\n') {
        }
    }

    void copyRest()
    {
        int byte;
        while (ok_ && (byte = ReadMailChar(in_)) != -1) {
            writeByte(byte);
        }
    }

    MailStream& in_;
    MailWriteStream& out_;
    const std::string bucket_;
    const bool editSubject_;
    bool ok_ = true;
    bool rewritten_ = false;
    bool subjectEdited_ = false;
};

}  // namespace

bool RewriteClassificationHeader(FileSystem& files, const std::string& mailPath,
                                 const std::string& bucket, bool editSubject)
{
    const std::optional<std::string> tempPath = RewriteTempPath(mailPath);
    if (!tempPath) {
        return false;
    }
    MailStream in(mailPath);
    if (!in.isOpen()) {
        return false;
    }
    MailWriteStream out(*tempPath);
    if (!out.isOpen()) {
        return false;
    }
    ClassificationRewriter rewriter(in, out, bucket, editSubject);
    rewriter.run();
    const bool complete = rewriter.rewritten();  // asks the input stream, so before closing it
    in.close();
    const bool written = out.close() && complete;
    if (written && files.replaceFile(*tempPath, mailPath)) {
        return rewriter.subjectEdited();
    }
    files.deleteFile(*tempPath);
    return false;
}
