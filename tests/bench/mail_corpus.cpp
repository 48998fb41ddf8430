#include "mail_corpus.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

namespace {

constexpr int kMessageCount = 10000;

const char* const kWords[] = {
    "meeting", "report", "schedule", "invoice", "project", "update", "review", "budget",
    "会議", "資料", "予定", "確認", "お願い", "報告", "見積", "今週", "来週", "担当",
    "よろしく", "お世話になっております。", "株式会社", "ご連絡", "の", "を", "に", "です。"};

const char* const kBuckets[] = {"spam", "work", "personal", "lists", "unclassified"};

class CorpusWriter {
public:
    explicit CorpusWriter(uint32_t seed) : random_(seed) {}

    std::string message(int index);

private:
    int between(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random_);
    }
    std::string words(int count);
    std::string received(int hop);
    std::string body(int index, std::string& headers);

    std::mt19937 random_;
};

std::string CorpusWriter::words(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i > 0 && between(0, 3) == 0) text += ' ';
        text += kWords[between(0, sizeof kWords / sizeof kWords[0] - 1)];
    }
    return text;
}

std::string CorpusWriter::received(int hop) {
    char line[512];
    std::snprintf(line, sizeof line,
                  "Received: from mx%d.relay%d.example.net (mx%d.relay%d.example.net "
                  "[192.0.2.%d])\r\n\tby mail%d.example.jp (Postfix) with ESMTP id %08X\r\n"
                  "\tfor <user@example.jp>; Mon, 7 Dec 2026 %02d:%02d:%02d +0900\r\n",
                  hop, between(1, 99), hop, between(1, 99), between(1, 254), hop,
                  static_cast<unsigned>(random_()), between(0, 23), between(0, 59),
                  between(0, 59));
    return line;
}

// A body of 1-20 KB in one of the encodings mail arrives in; adds its MIME headers.
std::string CorpusWriter::body(int index, std::string& headers) {
    const size_t size = static_cast<size_t>(between(1024, 20 * 1024));
    std::string text;
    while (text.size() < size) text += words(between(5, 15)) + "\r\n";
    switch (index % 5) {
    case 0:
        headers += "Content-Type: text/plain; charset=Shift_JIS\r\n"
                   "Content-Transfer-Encoding: 8bit\r\n";
        return text;
    case 1: {
        headers += "Content-Type: text/plain; charset=\"UTF-8\"\r\n"
                   "Content-Transfer-Encoding: base64\r\n";
        static const char kAlphabet[] =
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        std::string encoded;
        for (size_t i = 0; i < size * 4 / 3; ++i) {
            encoded += kAlphabet[between(0, 63)];
            if (i % 76 == 75) encoded += "\r\n";
        }
        return encoded + "\r\n";
    }
    case 2: {
        headers += "Content-Type: text/plain; charset=ISO-2022-JP\r\n"
                   "Content-Transfer-Encoding: quoted-printable\r\n";
        std::string encoded;
        for (size_t i = 0; i < size; ++i) {
            char escape[4];
            std::snprintf(escape, sizeof escape, "=%02X", between(0x21, 0x7E));
            encoded += between(0, 2) == 0 ? std::string(escape) : std::string(1, 'a' + i % 26);
            if (i % 25 == 24) encoded += "=\r\n";
        }
        return encoded + "\r\n";
    }
    case 3:
        headers += "Content-Type: multipart/alternative;\r\n"
                   "\tboundary=\"----=_Part_" + std::to_string(index) + "\"\r\n";
        return "This is a multi-part message in MIME format.\r\n\r\n------=_Part_" +
               std::to_string(index) +
               "\r\nContent-Type: text/plain; charset=UTF-8\r\n"
               "Content-Transfer-Encoding: quoted-printable\r\n\r\n"
               "=E4=BC=9A=E8=AD=B0 meeting notes=\r\n follow\r\n" + text + "------=_Part_" +
               std::to_string(index) + "--\r\n";
    default:
        headers += "Content-Type: text/plain; charset=iso-2022-jp\r\n"
                   "Content-Transfer-Encoding: 7bit\r\n";
        return "\x1B$B$3$s$K$A$O\x1B(B\r\n" + text;
    }
}

std::string CorpusWriter::message(int index) {
    std::string headers;
    const int hops = between(3, 7);
    for (int hop = 0; hop < hops; ++hop) headers += received(hop);
    headers += "Return-Path: <sender" + std::to_string(index) + "@example.com>\r\n";
    headers += "From: \"=?ISO-2022-JP?B?GyRCOzNFRBsoQg==?=\" <sender" + std::to_string(index) +
               "@example.com>\r\n";
    headers += "To: user@example.jp\r\n";
    headers += "Subject: " + words(between(2, 6)) + " #" + std::to_string(index) + "\r\n";
    headers += "Date: Mon, 7 Dec 2026 10:00:00 +0900\r\n";
    headers += "Message-ID: <" + std::to_string(random_()) + "@example.com>\r\n";
    headers += "MIME-Version: 1.0\r\n";
    std::string text = body(index, headers);
    const int extra = between(0, 8);
    for (int i = 0; i < extra; ++i) {
        headers += "X-Extra-" + std::to_string(i) + ": " + words(between(1, 4)) + "\r\n";
    }
    headers += "X-Mailer: Corpus Writer 1.0\r\n";
    headers += std::string("X-Text-Classification: ") +
               kBuckets[between(0, sizeof kBuckets / sizeof kBuckets[0] - 1)] + "\r\n";
    headers += "X-POPFile-Link: http://127.0.0.1:8080/jump_to_message?view=" +
               std::to_string(index) + "\r\n";
    return headers + "\r\n" + text;
}

class Corpus {
public:
    Corpus() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "mailcorpusXXXXXX").string();
        if (mkdtemp(&pattern[0]) == nullptr) throw std::runtime_error("no temporary directory");
        directory_ = pattern;
        CorpusWriter writer(20261208);
        for (int i = 0; i < kMessageCount; ++i) {
            paths_.push_back(directory_ + "/" + std::to_string(i) + ".CRV");
            const std::string text = writer.message(i);
            std::ofstream(paths_.back(), std::ios::binary).write(text.data(), text.size());
        }
    }
    ~Corpus() {
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
    }
    const std::vector<std::string>& paths() const { return paths_; }

private:
    std::string directory_;
    std::vector<std::string> paths_;
};

}  // namespace

const std::vector<std::string>& MailCorpus() {
    static const Corpus corpus;
    return corpus.paths();
}
