#include "doubles/code_page_converter_fake.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace {

// Bytes of the well-formed UTF-8 sequence at text[at]; 1 for a stray or broken one.
size_t SequenceLength(const std::string& text, size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    size_t length = 1;
    if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    }
    if (at + length > text.size()) return 1;
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if (next < 0x80 || next > 0xBF) return 1;
    }
    return length;
}

class Iconv {
public:
    Iconv() : handle_(iconv_open("CP932", "UTF-8")) {
        if (handle_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no CP932 iconv");
    }
    ~Iconv() { iconv_close(handle_); }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    iconv_t get() const { return handle_; }

private:
    iconv_t handle_;
};

}  // namespace

std::string CodePageConverterFake::utf8ToAnsi(const std::string& utf8) {
    ++calls_;
    if (failing_) return {};
    Iconv converter;
    std::string out;
    char buffer[256];
    size_t at = 0;
    while (at < utf8.size()) {
        char* in = const_cast<char*>(utf8.data()) + at;
        size_t inLeft = utf8.size() - at;
        char* to = buffer;
        size_t toLeft = sizeof buffer;
        const size_t result = iconv(converter.get(), &in, &inLeft, &to, &toLeft);
        const int error = errno;
        out.append(buffer, static_cast<size_t>(to - buffer));
        at = utf8.size() - inLeft;
        if (result != static_cast<size_t>(-1) || error == E2BIG) continue;
        // Malformed, cut short or not in CP932: one default character, as the system does.
        out.push_back('?');
        at += SequenceLength(utf8, at);
        iconv(converter.get(), nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}
