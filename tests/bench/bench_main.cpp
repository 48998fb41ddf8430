// The one entry point of tarnwick_bench; every benchmark file registers its own cases.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
