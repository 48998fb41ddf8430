#include "process_resources_win.h"

#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <cstdint>

namespace {

// Wine's ntdll exports its version; Windows' does not.
bool RunningUnderWine()
{
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

// --- GDI: the process's handle table, as Wine lays it out (24 bytes an entry in both
// pointer sizes); an entry whose type is not 0 is a live object, stock objects included
// (deleting an object clears its type and its object pointer).
struct GdiTableEntry {
    uint64_t object;
    uint32_t owner;
    uint8_t extendedType;
    uint8_t generation;
    uint8_t type;
    uint8_t flags;
    uint64_t userPointer;
};
static_assert(sizeof(GdiTableEntry) == 24, "Wine's GDI handle table entry");
constexpr std::size_t kGdiTableEntries = 0x10000;

using QueryInformationProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);

const GdiTableEntry* GdiHandleTable()
{
    const auto query = reinterpret_cast<QueryInformationProcess>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic = {};
    if (query == nullptr ||
        query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0 ||
        basic.PebBaseAddress == nullptr) {
        return nullptr;
    }
    // GdiSharedHandleTable: 0xF8 into the 64-bit PEB, 0x94 into the 32-bit one.
    const std::size_t offset = sizeof(void*) == 8 ? 0xF8 : 0x94;
    const auto* peb = reinterpret_cast<const char*>(basic.PebBaseAddress);
    return *reinterpret_cast<const GdiTableEntry* const*>(peb + offset);
}

long long CountGdiTableEntries()
{
    const GdiTableEntry* table = GdiHandleTable();
    if (table == nullptr) {
        return -1;
    }
    long long live = 0;
    for (std::size_t index = 0; index < kGdiTableEntries; ++index) {
        live += table[index].type != 0 ? 1 : 0;
    }
    return live;
}

// --- USER: windows by enumeration; menus, icons and cursors by their handle indices. A USER
// handle is 0x20 + 2 * index in its low word; one with a high word of 0 names the object at
// that index whatever its generation, and only objects of this process are found.
constexpr UINT_PTR kFirstUserHandle = 0x20;
constexpr UINT_PTR kUserHandleIndices = (0xffef - kFirstUserHandle + 1) / 2;

using CursorFrameInfo = HCURSOR(WINAPI*)(HCURSOR, DWORD, DWORD, DWORD*, DWORD*);

CursorFrameInfo CursorFrameInfoFunction()
{
    return reinterpret_cast<CursorFrameInfo>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "GetCursorFrameInfo")));
}

bool OwnWindow(HWND window)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process == GetCurrentProcessId();
}

BOOL CALLBACK CountOwnWindow(HWND window, LPARAM count)
{
    *reinterpret_cast<long long*>(count) += OwnWindow(window) ? 1 : 0;
    return TRUE;
}

// A window, its descendants and, for a top-level window, none of another process.
long long CountWindowTree(HWND top)
{
    if (!OwnWindow(top)) {
        return 0;
    }
    long long count = 1;
    EnumChildWindows(top, CountOwnWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

BOOL CALLBACK CountTopLevelTree(HWND window, LPARAM count)
{
    *reinterpret_cast<long long*>(count) += CountWindowTree(window);
    return TRUE;
}

long long CountOwnWindows()
{
    long long count = 0;
    EnumWindows(CountTopLevelTree, reinterpret_cast<LPARAM>(&count));
    for (HWND window = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); window != nullptr;
         window = FindWindowExA(HWND_MESSAGE, window, nullptr, nullptr)) {
        count += CountWindowTree(window);
    }
    return count;
}

long long CountUserObjects()
{
    const CursorFrameInfo frameInfo = CursorFrameInfoFunction();
    long long count = CountOwnWindows();
    for (UINT_PTR index = 0; index < kUserHandleIndices; ++index) {
        const UINT_PTR handle = kFirstUserHandle + 2 * index;
        if (IsMenu(reinterpret_cast<HMENU>(handle))) {
            ++count;
        } else if (frameInfo != nullptr) {
            DWORD rate = 0;
            DWORD steps = 0;
            count += frameInfo(reinterpret_cast<HCURSOR>(handle), 0, 0, &rate, &steps) != nullptr ? 1 : 0;
        }
    }
    return count;
}

// --- Kernel handles: the system's list of every process's handles.
constexpr ULONG kSystemHandleInformation = 16;
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);

using QuerySystemInformation = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);

long long CountListedHandles()
{
    const auto query = reinterpret_cast<QuerySystemInformation>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (query == nullptr) {
        return -1;
    }
    std::vector<char> buffer(64 * 1024);
    NTSTATUS status;
    ULONG needed = 0;
    while ((status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                           &needed)) == kInfoLengthMismatch) {
        buffer.resize(buffer.size() * 2);
    }
    if (status != 0) {
        return -1;
    }
    const auto* list = reinterpret_cast<const SYSTEM_HANDLE_INFORMATION*>(buffer.data());
    long long own = 0;
    for (ULONG i = 0; i < list->Count; ++i) {
        own += list->Handle[i].OwnerPid == GetCurrentProcessId() ? 1 : 0;
    }
    return own;
}

long long SystemHandleCount()
{
    DWORD count = 0;
    return GetProcessHandleCount(GetCurrentProcess(), &count) ? static_cast<long long>(count) : 0;
}

long long GuiResources(DWORD which)
{
    return static_cast<long long>(GetGuiResources(GetCurrentProcess(), which));
}

PROCESS_MEMORY_COUNTERS_EX MemoryCounters()
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    return counters;
}

}  // namespace

// A process that has created a window holds GDI and USER objects and handles, so a 0 from
// the system means the call is not implemented.
ResourceCounting::ResourceCounting()
{
    const bool wine = RunningUnderWine();
    const auto pick = [wine](long long reported, bool fallbackWorks) {
        return reported > 0 ? Way::System : (wine && fallbackWorks ? Way::Fallback : Way::None);
    };
    gdi_ = pick(GuiResources(GR_GDIOBJECTS), wine && CountGdiTableEntries() > 0);
    user_ = pick(GuiResources(GR_USEROBJECTS), true);
    handles_ = pick(SystemHandleCount(), wine && CountListedHandles() > 0);
    const PROCESS_MEMORY_COUNTERS_EX memory = MemoryCounters();
    memory_ = pick(static_cast<long long>(memory.PrivateUsage), memory.PagefileUsage > 0);
}

ProcessResources ResourceCounting::measure() const
{
    ProcessResources resources;
    if (gdi_ != Way::None) {
        resources.gdiObjects = gdi_ == Way::System ? GuiResources(GR_GDIOBJECTS) : CountGdiTableEntries();
    }
    if (user_ != Way::None) {
        resources.userObjects = user_ == Way::System ? GuiResources(GR_USEROBJECTS) : CountUserObjects();
    }
    if (handles_ != Way::None) {
        resources.kernelHandles = handles_ == Way::System ? SystemHandleCount() : CountListedHandles();
    }
    if (memory_ != Way::None) {
        const PROCESS_MEMORY_COUNTERS_EX memory = MemoryCounters();
        const SIZE_T bytes = memory_ == Way::System ? memory.PrivateUsage : memory.PagefileUsage;
        resources.privateKilobytes = static_cast<long long>(bytes / 1024);
    }
    return resources;
}

std::vector<std::string> ResourceCounting::description() const
{
    const auto line = [](const char* name, Way way, const char* system, const char* fallback) {
        const char* how = way == Way::System     ? system
                          : way == Way::Fallback ? fallback
                                                 : "cannot be counted here";
        return std::string(name) + ": " + how;
    };
    return {line("GDI objects", gdi_, "GetGuiResources",
                 "the live entries of the process's GDI handle table (Wine has no GetGuiResources)"),
            line("USER objects", user_, "GetGuiResources",
                 "the process's windows, menus, icons and cursors (Wine has no GetGuiResources)"),
            line("handles", handles_, "GetProcessHandleCount",
                 "the process's entries in the system's handle list (Wine's "
                 "GetProcessHandleCount says 0)"),
            line("private bytes", memory_, "PrivateUsage",
                 "the process's anonymous memory, resident or swapped (Wine's PrivateUsage is 0; "
                 "this is its PagefileUsage)")};
}
