// The platform services the portable code uses, gathered so that they can be handed
// down as one value. The product wires the Win32 implementations; tests wire doubles.
#pragma once

class ProfileStore;
class FileSystem;
class CodePageConverter;

struct Platform {
    ProfileStore& profile;
    FileSystem& files;
    CodePageConverter& codePage;
};
