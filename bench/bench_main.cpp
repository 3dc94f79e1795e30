// The benchmark program's entry point; every bench_*.cpp registers its own cases.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
