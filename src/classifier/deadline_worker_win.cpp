#include "classifier/deadline_worker_win.h"

#include <memory>

namespace {

// Shared by the caller and the thread; whichever lets go last frees it.
struct Job {
    std::function<void()> work;
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);

    ~Job()
    {
        if (done != nullptr) {
            CloseHandle(done);
        }
    }
};

struct ThreadStart {
    std::shared_ptr<Job> job;
    HMODULE module;
};

DWORD WINAPI RunJob(void* parameter)
{
    HMODULE module = nullptr;
    {
        std::unique_ptr<ThreadStart> start(static_cast<ThreadStart*>(parameter));
        module = start->module;
        try {
            start->job->work();
        } catch (...) {
        }
        SetEvent(start->job->done);
    }
    // Our code must stay mapped until this call: it releases the module and ends the
    // thread without returning into it.
    FreeLibraryAndExitThread(module, 0);
    return 0;
}

// A reference on the module holding this code, so that it outlives every thread running it.
HMODULE ReferenceOwnModule()
{
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            reinterpret_cast<LPCSTR>(&RunJob), &module)) {
        return nullptr;
    }
    return module;
}

// Starts job on a thread of its own that holds a reference on this module; false when it
// could not start.
bool StartJob(const std::shared_ptr<Job>& job)
{
    HMODULE module = ReferenceOwnModule();
    if (module == nullptr) {
        return false;
    }
    auto* start = new ThreadStart{job, module};
    HANDLE thread = CreateThread(nullptr, 0, RunJob, start, 0, nullptr);
    if (thread == nullptr) {
        delete start;
        FreeLibrary(module);
        return false;
    }
    CloseHandle(thread);
    return true;
}

}  // namespace

DeadlineOutcome RunWithDeadline(std::function<void()> work, DWORD timeoutMs)
{
    auto job = std::make_shared<Job>();
    if (job->done == nullptr) {
        return DeadlineOutcome::NotRun;
    }
    job->work = std::move(work);
    if (!StartJob(job)) {
        return DeadlineOutcome::NotRun;
    }
    return WaitForSingleObject(job->done, timeoutMs) == WAIT_OBJECT_0 ? DeadlineOutcome::Finished
                                                                       : DeadlineOutcome::Abandoned;
}

bool RunDetached(std::function<void()> work)
{
    auto job = std::make_shared<Job>();
    if (job->done == nullptr) {
        return false;
    }
    job->work = std::move(work);
    return StartJob(job);
}
