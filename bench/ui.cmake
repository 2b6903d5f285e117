# Benchmarks of ui.
add_executable(bench_ui ui_bench.cpp)
target_link_libraries(bench_ui PRIVATE rufwacht_app rufwacht_test_support benchmark::benchmark)
add_dependencies(bench_ui rufwacht)
