// What this process holds at one moment: GDI objects, USER objects, kernel handles and
// private bytes, as Windows reports them (GetGuiResources, GetProcessHandleCount,
// GetProcessMemoryInfo). Wine 8 reports nothing useful for three of them (no GetGuiResources,
// a handle count of 0, no PrivateUsage); there each is counted another way, which
// ResourceCounting says:
//   GDI objects   the live entries of the process's GDI handle table (the PEB points to it);
//   USER objects  the windows, menus, icons and cursors of the process (windows enumerated,
//                 menus and icons found by probing every USER handle index);
//   handles       the process's entries in the system's handle list (NtQuerySystemInformation);
//   private bytes the anonymous memory of the process, resident or swapped (PagefileUsage).
// A measure that can be had neither way is -1.
#pragma once

#include <string>
#include <vector>

struct ProcessResources {
    long long gdiObjects = -1;
    long long userObjects = -1;
    long long kernelHandles = -1;
    long long privateKilobytes = -1;
};

// How each measure is taken on this system, decided once from what the system reports.
class ResourceCounting {
public:
    ResourceCounting();

    ProcessResources measure() const;
    // One line per measure: its name and how it is counted ("cannot be counted here" when -1).
    std::vector<std::string> description() const;

private:
    enum class Way { System, Fallback, None };
    Way gdi_ = Way::None;
    Way user_ = Way::None;
    Way handles_ = Way::None;
    Way memory_ = Way::None;
};
