#include "ui/rule_dialogs_win.h"

#include "classifier/classifier_session.h"

void FillTypingCombo(HWND combo, const std::vector<std::string>& items)
{
    SendMessageA(combo, CB_LIMITTEXT, kComboTypingLimit, 0);
    AddComboItems(combo, items);
}

std::vector<std::string> BucketComboItems(ClassifierContext& classifier)
{
    return BucketChoices(GetBucketList(classifier));
}
