# Benchmarks of the call handling through the whole program.
add_executable(bench_calls_latency calls_latency.cpp)
target_link_libraries(bench_calls_latency PRIVATE rufwacht_app)
target_compile_definitions(bench_calls_latency PRIVATE RUFWACHT_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
add_executable(bench_callmonitor_latency callmonitor_latency.cpp)
target_link_libraries(bench_callmonitor_latency PRIVATE rufwacht_app)
target_compile_definitions(bench_callmonitor_latency PRIVATE
                           RUFWACHT_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
# The long runs through the real program (not in the test command): SIGKILL at random moments
# while calls stream in, and 100,000 calls in one run.
add_executable(bench_crash_stress crash_stress.cpp)
target_link_libraries(bench_crash_stress PRIVATE rufwacht_core)
target_compile_definitions(bench_crash_stress PRIVATE RUFWACHT_BIN_DIR="${RUFWACHT_BIN_DIR}")
add_dependencies(bench_crash_stress rufwacht)
add_executable(bench_soak soak.cpp)
target_link_libraries(bench_soak PRIVATE rufwacht_options)
target_compile_definitions(bench_soak PRIVATE RUFWACHT_BIN_DIR="${RUFWACHT_BIN_DIR}")
add_dependencies(bench_soak rufwacht)
