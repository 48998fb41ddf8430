// The demo programs' mailbox: an account that receives through the classifier, with
// folders to sort into, and a second account.
#pragma once

#include "mailbox_win.h"

// Directory of the account that receives through the classifier.
inline constexpr const char* kDemoAccount = "popfile";

// Adds the demo accounts and folders: 仕事, 趣味\旅行 and 趣味\ニュース in kDemoAccount.
void BuildDemoMailbox(Mailbox& mailbox);
