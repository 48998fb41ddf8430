// The host's mail services over real message files, for tests that check where a message
// ends up: one account "acct" titled "口座" whose folders are the inbox ("郵便受け") and
// the folders added by title. Every service first passes FaultPoint() (doubles/fault_plan.h)
// and, when that fails it, returns 0 or null without changing anything, except that a
// failing APASaveMail leaves half of the message in its file, as an interrupted copy would.
//
// Message files lie directly in a private mailbox directory, named by their reference plus
// ".CRV" ("acct\inbox.box\00003.CRV": the backslashes are plain name bytes here). Imports
// and moves give new references; references are never reused. Like HostServicesFake, the
// services are plain functions, so one fake at a time is active: the one constructed last.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/host_api.h"

class HostMailboxFake {
public:
    static constexpr const char* kAccountTitle = "口座";
    static constexpr const char* kAccountFile = "acct\\account.ini";

    HostMailboxFake();
    ~HostMailboxFake();
    HostMailboxFake(const HostMailboxFake&) = delete;
    HostMailboxFake& operator=(const HostMailboxFake&) = delete;

    // The table handed to the code under test.
    HostApi api;

    // The mailbox directory, ending in "/".
    const std::string& root() const { return root_; }
    // Adds a folder titled title; returns its folder path ("acct\user001.box").
    std::string addFolder(const std::string& title);
    static std::string inbox() { return "acct\\inbox.box"; }

    // Stores bytes as a new message of folder; returns its reference.
    std::string addMessage(const std::string& folder, const std::string& bytes);
    std::string pathOf(const std::string& reference) const { return root_ + reference + ".CRV"; }
    // The host's own deletion of a message (result bit 4 of the receive filter).
    void hostDeletes(const std::string& reference);

    // Every message in the mailbox: reference -> bytes.
    std::map<std::string, std::string> messages() const;
    // The folder path of a reference.
    static std::string folderOf(const std::string& reference);
    // Files in the mailbox directory that are not messages, except the account file.
    std::vector<std::string> strayFiles() const;

    // The services.
    const char* getMailbox();
    int saveMail(const char* mail, const char* file);
    int importFile(const char* file, const char* destination);
    int moveMail(const char* mail, const char* destination);
    int markMail(const char* mail, int mark, int set);
    int deleteMail(const char* mail);

private:
    std::optional<std::string> folderForDestination(const std::string& destination) const;
    std::string newReference(const std::string& folder);

    std::string root_;
    std::map<std::string, std::string> foldersByTitle_;  // "仕事" -> "acct\user001.box"
    unsigned nextMessage_ = 1;
    std::map<std::string, int> marks_;
};
