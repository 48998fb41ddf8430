// The progress box (template 115) that corrects several selected messages one after the
// other: the plug-in's icon, the counter "POPFile訂正(n/count)" and "ｷｬﾝｾﾙ". One message is
// corrected per step; a 100 ms host timer starts each step, so the host stays responsive in
// between. Escape does nothing; "ｷｬﾝｾﾙ" and the close box stop after the message being
// corrected.
#pragma once

#include "classifier/reclassify.h"

// SelectedMailCorrection through the progress box, loaded from the plug-in's own module
// (the context's pluginInstance) and owned by the folder window.
class ReclassifyProgressBoxes : public SelectedMailCorrection {
public:
    void correctSelectedMails(ClassifierContext& context, HostWindow window,
                              intptr_t bucketIndex) override;
};
