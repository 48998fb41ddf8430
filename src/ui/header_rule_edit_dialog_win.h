// The header-rule edit dialog (template 109, "ヘッダ定義"): one rule's header name, search
// text and bucket.
#pragma once

#include <windows.h>

#include "ui/header_rule_editing.h"

struct SettingsContext;

// Shows form, owned by owner, with the buckets of context to choose from. OK reads the fields into form and ends the dialog only once
// the checks pass. Returns 1 after OK, 2 after Cancel (or Escape), 0 from the caption's
// close box, -1 when the dialog could not be shown.
INT_PTR RunHeaderRuleEditDialog(HWND owner, SettingsContext& context, HeaderRuleForm& form);
