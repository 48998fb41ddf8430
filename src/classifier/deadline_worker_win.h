// Work that may block for an unbounded time (a classifier that accepts a connection and
// never answers), run on a thread of its own so that the caller's wait has a deadline.
// Under Wine, WinINet's time-outs are not honoured and closing a handle from another
// thread does not release a blocked call, so the wait cannot rely on either.
#pragma once

#include <windows.h>

#include <functional>

enum class DeadlineOutcome {
    Finished,   // work ended within the time
    Abandoned,  // the time ran out; work goes on running on its own thread
    NotRun,     // no thread could be started; work never runs
};

// Runs work on a new thread and waits for it up to timeoutMs. An abandoned thread finishes
// on its own, maybe much later: work must own everything it touches (capture by value;
// shared_ptr for the results the caller reads once it finished). The thread holds a
// reference on the module whose code it runs until it ends, so an abandoned thread never
// returns into unloaded code.
DeadlineOutcome RunWithDeadline(std::function<void()> work, DWORD timeoutMs);

// Runs work on a new thread and returns at once; false when no thread could be started (work
// never runs then). As above, work must own everything it touches, and the thread keeps the
// module loaded until it ends.
bool RunDetached(std::function<void()> work);
