#pragma once

#include "plugin/startup.h"

// The Win32 steps of start-up: system version, application identifier, self-reference.
class Win32StartUpSystem : public StartUpSystem {
public:
    int systemMajorVersion() override;
    void setApplicationId(const char* id) override;
    void* loadSelfReference(const char* relativePath) override;
};
