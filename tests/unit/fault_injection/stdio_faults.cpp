// The stdio calls of the mail streams as fault points. This program is linked with
// -Wl,--wrap for each of them, so the calls of the plug-in's code (and of this program) come
// here, and __real_* is the C library's own. A failing read also marks its stream, so that
// ferror() says what the C library would say after a real read error.
#include <cstdio>
#include <set>

#include "doubles/fault_plan.h"

extern "C" {
std::FILE* __real_fopen(const char* path, const char* mode);
std::size_t __real_fread(void* buffer, std::size_t size, std::size_t count, std::FILE* file);
std::size_t __real_fwrite(const void* buffer, std::size_t size, std::size_t count, std::FILE* file);
int __real_fclose(std::FILE* file);
int __real_fseek(std::FILE* file, long offset, int origin);
int __real_ferror(std::FILE* file);
}

namespace {
std::set<std::FILE*>& StreamsWithReadErrors()
{
    static std::set<std::FILE*> streams;
    return streams;
}
}  // namespace

extern "C" {

std::FILE* __wrap_fopen(const char* path, const char* mode)
{
    return FaultPoint("fopen") ? nullptr : __real_fopen(path, mode);
}

std::size_t __wrap_fread(void* buffer, std::size_t size, std::size_t count, std::FILE* file)
{
    if (FaultPoint("fread")) {
        StreamsWithReadErrors().insert(file);
        return 0;
    }
    return __real_fread(buffer, size, count, file);
}

std::size_t __wrap_fwrite(const void* buffer, std::size_t size, std::size_t count, std::FILE* file)
{
    // A full disk: some bytes get through, the rest do not.
    if (FaultPoint("fwrite")) {
        return count > 1 ? __real_fwrite(buffer, size, count / 2, file) : 0;
    }
    return __real_fwrite(buffer, size, count, file);
}

int __wrap_fclose(std::FILE* file)
{
    StreamsWithReadErrors().erase(file);
    const bool fails = FaultPoint("fclose");
    const int closed = __real_fclose(file);
    return fails ? EOF : closed;
}

int __wrap_fseek(std::FILE* file, long offset, int origin)
{
    return FaultPoint("fseek") ? -1 : __real_fseek(file, offset, origin);
}

int __wrap_ferror(std::FILE* file)
{
    return StreamsWithReadErrors().count(file) != 0 ? 1 : __real_ferror(file);
}

}  // extern "C"
