#include "ui/rule_dialogs_win.h"

#include "classifier/classifier_services_win.h"

void FillTypingCombo(HWND combo, const std::vector<std::string>& items)
{
    SendMessageA(combo, CB_LIMITTEXT, kComboTypingLimit, 0);
    AddComboItems(combo, items);
}

std::vector<std::string> BucketComboItems()
{
    ClassifierContext classifier = ProcessClassifierContext();
    return BucketChoices(GetBucketList(classifier));
}
