#include "mail/mail_stream.h"

namespace {

// Most lookups stop inside the header block, which is rarely longer than a few
// kilobytes: the first read is small, later ones large.
constexpr size_t kFirstBlockSize = 8 * 1024;
constexpr size_t kBlockSize = 64 * 1024;
constexpr size_t kWriteBlockSize = 64 * 1024;

}  // namespace

MailStream::MailStream(const std::string& path) {
    open(path);
}

MailStream::~MailStream() {
    close();
}

bool MailStream::open(const std::string& path) {
    close();
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr) return false;
    // The stream does its own buffering; stdio's would only add a copy.
    std::setvbuf(file_, nullptr, _IONBF, 0);
    return true;
}

void MailStream::close() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    length_ = 0;
    position_ = 0;
    blockStart_ = 0;
    atEnd_ = false;
    failed_ = false;
    lastReadWasByte_ = false;
    firstFill_ = true;
}

int MailStream::readRawSlow() {
    lastReadWasByte_ = false;
    if (file_ == nullptr || atEnd_ || !fillBuffer()) {
        atEnd_ = true;
        return -1;
    }
    lastReadWasByte_ = true;
    return static_cast<unsigned char>(buffer_[position_++]);
}

bool MailStream::fillBuffer() {
    if (buffer_ == nullptr) {
        buffer_.reset(new char[kBlockSize]);
        capacity_ = kBlockSize;
    }
    blockStart_ += static_cast<long>(length_);
    const size_t wanted = firstFill_ ? kFirstBlockSize : capacity_;
    firstFill_ = false;
    length_ = std::fread(buffer_.get(), 1, wanted, file_);
    position_ = 0;
    if (length_ < wanted && std::ferror(file_) != 0) {
        failed_ = true;
    }
    return length_ > 0;
}

bool MailStream::seek(long offset) {
    if (file_ == nullptr || offset < 0) return false;
    lastReadWasByte_ = false;
    if (offset >= blockStart_ && offset <= blockStart_ + static_cast<long>(length_)) {
        position_ = static_cast<size_t>(offset - blockStart_);
        atEnd_ = false;
        return true;
    }
    if (std::fseek(file_, offset, SEEK_SET) != 0) return false;
    blockStart_ = offset;
    length_ = 0;
    position_ = 0;
    atEnd_ = false;
    return true;
}

MailWriteStream::MailWriteStream(const std::string& path) {
    open(path);
}

MailWriteStream::~MailWriteStream() {
    close();
}

bool MailWriteStream::open(const std::string& path) {
    close();
    failed_ = false;
    pending_.clear();
    file_ = std::fopen(path.c_str(), "wb");
    return file_ != nullptr;
}

bool MailWriteStream::put(unsigned char byte) {
    if (file_ == nullptr || failed_) return false;
    pending_.push_back(static_cast<char>(byte));
    if (pending_.size() >= kWriteBlockSize) return flush();
    return true;
}

bool MailWriteStream::flush() {
    if (!pending_.empty() &&
        std::fwrite(pending_.data(), 1, pending_.size(), file_) != pending_.size()) {
        failed_ = true;
    }
    pending_.clear();
    return !failed_;
}

bool MailWriteStream::close() {
    if (file_ == nullptr) return false;
    bool written = flush();
    if (std::fclose(file_) != 0) written = false;
    file_ = nullptr;
    return written;
}
