// Buffered byte streams over stored message files. Reading keeps the byte-by-byte
// model of a stdio stream (one-byte pushback, a sticky end-of-file flag, tell/seek)
// but fetches the file in large blocks, keeping its first 64 KB once read, so that going
// back to the start reads nothing again; writing collects bytes and flushes in blocks.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

// A message file opened for reading in binary mode ("rb"); closed when destroyed.
// A read error is reported like the end of the file.
class MailStream {
public:
    MailStream() = default;
    // Opens path; check isOpen() afterwards.
    explicit MailStream(const std::string& path);
    ~MailStream();
    MailStream(const MailStream&) = delete;
    MailStream& operator=(const MailStream&) = delete;

    // Closes any open file and opens path. False when the file cannot be opened.
    bool open(const std::string& path);
    bool isOpen() const { return file_ != nullptr; }
    void close();

    // Next byte exactly as stored (0-255), or -1 at the end of the file or on an error.
    int readRaw()
    {
        if (position_ < length_) {
            lastReadWasByte_ = true;
            return static_cast<unsigned char>(buffer_[position_++]);
        }
        return readRawSlow();
    }

    // Appends to out the bytes from the read position up to the next CR or LF, or up to the
    // end of what is buffered, and consumes them; the CR or LF itself is left to be read.
    // The bytes are what readRaw() would give one by one.
    void appendUntilLineBreak(std::string& out);
    // The same without keeping the bytes.
    void skipUntilLineBreak();

    // Steps back over the byte the last readRaw() returned, so that it is read again.
    // Does nothing when the last read gave -1 or nothing has been read since the
    // last pushback or seek: one byte of pushback, as with ungetc.
    void unread()
    {
        if (lastReadWasByte_) {
            --position_;
            lastReadWasByte_ = false;
            atEnd_ = false;
        }
    }

    // True once a read has found the end of the file (or failed), until the next
    // seek or pushback; like feof.
    bool atEnd() const { return atEnd_; }

    // True once a read of the file failed (not merely ended), until it is closed; like
    // ferror. The bytes after the failure were never seen, so a copy made from the stream
    // is incomplete.
    bool failed() const { return failed_; }

    // Offset of the next byte to be read.
    long tell() const { return blockStart_ + static_cast<long>(position_); }

    // Makes offset the next byte to be read. False when the file cannot seek there.
    bool seek(long offset);

private:
    int readRawSlow();
    bool fillBuffer();
    bool extendFirstBlock();
    void reserve(size_t size);
    size_t consumeUntilLineBreak(std::string* out);
    static const char* findLineBreak(const char* start, const char* end);

    std::FILE* file_ = nullptr;
    std::unique_ptr<char[]> buffer_;
    size_t capacity_ = 0;
    size_t length_ = 0;    // valid bytes in buffer_
    size_t position_ = 0;  // next byte in buffer_
    long blockStart_ = 0;  // file offset of buffer_[0]
    bool atEnd_ = false;
    bool failed_ = false;
    bool lastReadWasByte_ = false;
    bool firstFill_ = true;
};

// A file opened for writing in binary mode ("wb"); bytes are collected and written in
// blocks. Closed when destroyed; call close() to learn whether every byte reached the file.
class MailWriteStream {
public:
    MailWriteStream() = default;
    explicit MailWriteStream(const std::string& path);
    ~MailWriteStream();
    MailWriteStream(const MailWriteStream&) = delete;
    MailWriteStream& operator=(const MailWriteStream&) = delete;

    // Closes any open file and creates or truncates path. False when it cannot be opened.
    bool open(const std::string& path);
    bool isOpen() const { return file_ != nullptr; }

    // Appends one byte as it stands. False on a write error (also every later call).
    bool put(unsigned char byte);

    // Writes out what is collected and closes the file. False when any write since
    // open() failed, or when nothing was open.
    bool close();

private:
    bool flush();

    std::FILE* file_ = nullptr;
    std::string pending_;
    bool failed_ = false;
};
