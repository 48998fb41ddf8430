// Timing of the host's own work, so that a retrieval can tell the plug-in's share apart.
#pragma once

#include <windows.h>

inline double SecondsBetween(const LARGE_INTEGER& before, const LARGE_INTEGER& after)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(after.QuadPart - before.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// Adds the time from construction to destruction to a running total.
class ServiceTimer {
public:
    explicit ServiceTimer(double& total) : total_(total) { QueryPerformanceCounter(&start_); }
    ~ServiceTimer()
    {
        LARGE_INTEGER end;
        QueryPerformanceCounter(&end);
        total_ += SecondsBetween(start_, end);
    }
    ServiceTimer(const ServiceTimer&) = delete;
    ServiceTimer& operator=(const ServiceTimer&) = delete;

private:
    double& total_;
    LARGE_INTEGER start_;
};
