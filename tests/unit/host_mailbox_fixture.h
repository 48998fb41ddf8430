// The host's folder files of the fixture mailbox (tests/data/host/mailbox), loaded into a
// profile double below a mailbox root. The host's profile reader takes "\" and "/" alike,
// and the plug-in uses both, so every file is loaded under both spellings.
#pragma once

#include <string>

class ProfileStoreFake;

// Loads every file below tests/data/host/mailbox as mailboxRoot + relative path;
// mailboxRoot ends with a separator. Returns the number of files loaded.
int LoadHostMailboxFixture(ProfileStoreFake& profile, const std::string& mailboxRoot);
