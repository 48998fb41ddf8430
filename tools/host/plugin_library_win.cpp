#include "plugin_library_win.h"

namespace {

template <typename Function>
void Resolve(HMODULE module, const char* name, Function& function, std::vector<std::string>& missing)
{
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    if (function == nullptr) {
        missing.push_back(name);
    }
}

}  // namespace

bool PluginLibrary::load(const std::string& path)
{
    missing_.clear();
    module_ = LoadLibraryA(path.c_str());
    if (module_ == nullptr) {
        loadError_ = GetLastError();
        return false;
    }
    loadError_ = 0;
    Resolve(module_, "APCGetPlugName", entry_.APCGetPlugName, missing_);
    Resolve(module_, "APCVersionInfo", entry_.APCVersionInfo, missing_);
    Resolve(module_, "APCSetup", entry_.APCSetup, missing_);
    Resolve(module_, "APCStartUp", entry_.APCStartUp, missing_);
    Resolve(module_, "APCCleanUp", entry_.APCCleanUp, missing_);
    Resolve(module_, "APCRecFilter", entry_.APCRecFilter, missing_);
    Resolve(module_, "APCFolderCreate", entry_.APCFolderCreate, missing_);
    Resolve(module_, "APCFolderLoad", entry_.APCFolderLoad, missing_);
    Resolve(module_, "APCFolderPreOpenView", entry_.APCFolderPreOpenView, missing_);
    Resolve(module_, "APCFolderInitMenu", entry_.APCFolderInitMenu, missing_);
    Resolve(module_, "APCViewInitMenu", entry_.APCViewInitMenu, missing_);
    Resolve(module_, "APCSendInitMenu", entry_.APCSendInitMenu, missing_);
    Resolve(module_, "APCFolderEndRetrieve", entry_.APCFolderEndRetrieve, missing_);
    return missing_.empty();
}
