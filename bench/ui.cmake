# Benchmarks of ui.
add_executable(bench_ui ui_bench.cpp ${PROJECT_SOURCE_DIR}/tests/support/TempDir.cpp)
target_link_libraries(bench_ui PRIVATE rufwacht_app benchmark::benchmark)
target_include_directories(bench_ui PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_compile_definitions(bench_ui PRIVATE RUFWACHT_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                                            RUFWACHT_BIN_DIR="${RUFWACHT_BIN_DIR}")
add_dependencies(bench_ui rufwacht)
