// The plug-in's general settings: section "Setup" of Plugins\tarnwick.ini.
#pragma once

#include <cstdint>
#include <string>

class ProfileStore;
class FileSystem;

struct PluginSettings {
    int32_t FromLength = 0;     // byte limit of sender/subject in the summary; <= 0: none
    bool DispDialog = false;    // always true after a load
    bool Beep = false;          // always false after a load
    bool DispFrom = false;      // always true after a load
    bool DispSubject = false;   // always true after a load
    bool CheckConnect = false;  // wait at start-up until the classifier is reachable
    bool AfterSetBold = false;  // bold destination folders in the host's folder tree
    int32_t SubjectEdit = 0;    // remove "[unclassified]" from the subject on correction
    std::string URL;            // base address of the classifier's web interface
    bool AutoReceive = false;   // notification window, excerpts, automatic confirmations
    int32_t winLeft = 0;
    int32_t winTop = 0;
    int32_t winWidth = 0;
};
