// Asks a window for a round trip through its message loop, again and again from a thread of
// its own, and keeps the longest time the window did not answer: a window whose thread waits
// for a hung classifier shows it as a stall of that length.
#pragma once

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

class MessageLoopWatch {
public:
    explicit MessageLoopWatch(HWND window) : window_(window)
    {
        thread_ = std::thread([this] { watch(); });
    }
    ~MessageLoopWatch()
    {
        stop_ = true;
        thread_.join();
    }
    MessageLoopWatch(const MessageLoopWatch&) = delete;
    MessageLoopWatch& operator=(const MessageLoopWatch&) = delete;

    long long longestStallMs() const { return longest_; }

private:
    using Clock = std::chrono::steady_clock;

    void watch()
    {
        auto lastAnswer = Clock::now();
        while (!stop_) {
            DWORD_PTR ignored = 0;
            if (SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, 100, &ignored) != 0) {
                lastAnswer = Clock::now();
            }
            const long long stall =
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - lastAnswer)
                    .count();
            longest_ = std::max(longest_.load(), stall);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    HWND window_;
    std::atomic<bool> stop_{false};
    std::atomic<long long> longest_{0};
    std::thread thread_;
};
