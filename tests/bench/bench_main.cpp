// The one entry point of tarnwick_bench; every benchmark file registers its own cases. After
// the usual table it prints, from the same run, each receive case's CPU time per message (the
// process's own, so that other work on a busy machine does not count) as a ratio to the
// header-read floor (opening a message and reading its header block once), and last the line
// "receive filter: R x the header-read floor" for the whole filter. Each case runs five times
// unless --benchmark_repetitions says otherwise; the ratios take the medians.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr const char* kFloor = "ReceivePerMessage<HeaderBlockFloor>";
constexpr const char* kWholeFilter = "ReceiveFilterWhole";

// The console table, and each case's real time per iteration kept by name.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                std::vector<double>& times = times_[run.benchmark_name()];
                if (times.empty()) {
                    order_.push_back(run.benchmark_name());
                }
                times.push_back(run.GetAdjustedCPUTime());
            }
        }
    }

    void PrintRatios() const
    {
        const double floor = median(kFloor);
        if (floor <= 0) {
            return;
        }
        std::printf("\nper message, median against the header-read floor (%s):\n", kFloor);
        for (const std::string& name : order_) {
            if (name.rfind("Receive", 0) == 0 && name != kFloor) {
                std::printf("  %-55s %5.2f x\n", name.c_str(), median(name) / floor);
            }
        }
        const double whole = median(kWholeFilter);
        if (whole > 0) {
            std::printf("receive filter: %.1f x the header-read floor\n", whole / floor);
        }
    }

private:
    double median(const std::string& name) const
    {
        const auto found = times_.find(name);
        if (found == times_.end() || found->second.empty()) {
            return 0;
        }
        std::vector<double> times = found->second;
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    }

    std::map<std::string, std::vector<double>> times_;
    std::vector<std::string> order_;
};

}  // namespace

int main(int argc, char** argv)
{
    std::vector<char*> arguments(argv, argv + argc);
    char repetitions[] = "--benchmark_repetitions=5";
    const bool repetitionsGiven = std::any_of(arguments.begin(), arguments.end(), [](const char* a) {
        return std::strncmp(a, "--benchmark_repetitions", 23) == 0;
    });
    if (!repetitionsGiven) {
        arguments.push_back(repetitions);
    }
    argc = static_cast<int>(arguments.size());
    argv = arguments.data();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
