# Benchmarks of line.
rufwacht_core_bench(bench_line_latency line_latency.cpp)
