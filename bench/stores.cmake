# Benchmarks of stores.
rufwacht_core_bench(bench_stores stores_bench.cpp)
