#include "mail/mail_stream.h"

#include <cstring>

namespace {

// Most lookups stop inside the header block, which is rarely longer than a few
// kilobytes: the first read is one page, later ones large.
constexpr size_t kFirstBlockSize = 4 * 1024;
constexpr size_t kBlockSize = 64 * 1024;
constexpr size_t kWriteBlockSize = 64 * 1024;

}  // namespace

MailStream::MailStream(const std::string& path)
{
    open(path);
}

MailStream::~MailStream()
{
    close();
}

bool MailStream::open(const std::string& path)
{
    close();
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr) {
        return false;
    }
    // The stream does its own buffering; stdio's would only add a copy.
    std::setvbuf(file_, nullptr, _IONBF, 0);
    return true;
}

void MailStream::close()
{
    if (file_ != nullptr) {
        std::fclose(file_);
    }
    file_ = nullptr;
    length_ = 0;
    position_ = 0;
    blockStart_ = 0;
    atEnd_ = false;
    failed_ = false;
    lastReadWasByte_ = false;
    firstFill_ = true;
}

// Makes room for size bytes, keeping the bytes held.
void MailStream::reserve(size_t size)
{
    if (capacity_ >= size) {
        return;
    }
    std::unique_ptr<char[]> larger(new char[size]);
    if (length_ > 0) {
        std::memcpy(larger.get(), buffer_.get(), length_);
    }
    buffer_ = std::move(larger);
    capacity_ = size;
}

// The first CR or LF in [start, end), or end. An LF is searched first: a CR normally stands
// just before it, so the second search is short.
const char* MailStream::findLineBreak(const char* start, const char* end)
{
    const void* lf = std::memchr(start, '\n', static_cast<size_t>(end - start));
    const char* stop = lf != nullptr ? static_cast<const char*>(lf) : end;
    const void* cr = std::memchr(start, '\r', static_cast<size_t>(stop - start));
    return cr != nullptr ? static_cast<const char*>(cr) : stop;
}

size_t MailStream::consumeUntilLineBreak(std::string* out)
{
    if (position_ >= length_) {
        return 0;
    }
    const char* start = buffer_.get() + position_;
    const char* stop = findLineBreak(start, buffer_.get() + length_);
    const size_t count = static_cast<size_t>(stop - start);
    if (count == 0) {
        return 0;
    }
    if (out != nullptr) {
        out->append(start, count);
    }
    position_ += count;
    // Like the last readRaw() of those bytes: the last one can be stepped back over.
    lastReadWasByte_ = true;
    return count;
}

void MailStream::appendUntilLineBreak(std::string& out)
{
    consumeUntilLineBreak(&out);
}

void MailStream::skipUntilLineBreak()
{
    consumeUntilLineBreak(nullptr);
}

int MailStream::readRawSlow()
{
    lastReadWasByte_ = false;
    if (file_ == nullptr || atEnd_ || !fillBuffer()) {
        atEnd_ = true;
        return -1;
    }
    lastReadWasByte_ = true;
    return static_cast<unsigned char>(buffer_[position_++]);
}

bool MailStream::fillBuffer()
{
    if (blockStart_ == 0 && !firstFill_ && length_ > 0 && length_ < kBlockSize) {
        return extendFirstBlock();
    }
    const size_t wanted = firstFill_ ? kFirstBlockSize : kBlockSize;
    reserve(wanted);
    blockStart_ += static_cast<long>(length_);
    firstFill_ = false;
    length_ = std::fread(buffer_.get(), 1, wanted, file_);
    position_ = 0;
    if (length_ < wanted && std::ferror(file_) != 0) {
        failed_ = true;
    }
    return length_ > 0;
}

// The start of the file stays in the buffer while it fits, so that a second reader of the
// same open file (the excerpt after the header) goes back to the start without reading again.
bool MailStream::extendFirstBlock()
{
    reserve(kBlockSize);
    const size_t got = std::fread(buffer_.get() + length_, 1, capacity_ - length_, file_);
    if (got < capacity_ - length_ && std::ferror(file_) != 0) {
        failed_ = true;
    }
    position_ = length_;
    length_ += got;
    return got > 0;
}

bool MailStream::seek(long offset)
{
    if (file_ == nullptr || offset < 0) {
        return false;
    }
    lastReadWasByte_ = false;
    if (offset >= blockStart_ && offset <= blockStart_ + static_cast<long>(length_)) {
        position_ = static_cast<size_t>(offset - blockStart_);
        atEnd_ = false;
        return true;
    }
    if (std::fseek(file_, offset, SEEK_SET) != 0) {
        return false;
    }
    blockStart_ = offset;
    length_ = 0;
    position_ = 0;
    atEnd_ = false;
    return true;
}

MailWriteStream::MailWriteStream(const std::string& path)
{
    open(path);
}

MailWriteStream::~MailWriteStream()
{
    close();
}

bool MailWriteStream::open(const std::string& path)
{
    close();
    failed_ = false;
    pending_.clear();
    file_ = std::fopen(path.c_str(), "wb");
    return file_ != nullptr;
}

bool MailWriteStream::put(unsigned char byte)
{
    if (file_ == nullptr || failed_) {
        return false;
    }
    pending_.push_back(static_cast<char>(byte));
    if (pending_.size() >= kWriteBlockSize) {
        return flush();
    }
    return true;
}

bool MailWriteStream::flush()
{
    if (!pending_.empty() &&
        std::fwrite(pending_.data(), 1, pending_.size(), file_) != pending_.size()) {
        failed_ = true;
    }
    pending_.clear();
    return !failed_;
}

bool MailWriteStream::close()
{
    if (file_ == nullptr) {
        return false;
    }
    bool written = flush();
    if (std::fclose(file_) != 0) {
        written = false;
    }
    file_ = nullptr;
    return written;
}
