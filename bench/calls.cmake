# Benchmarks of the call handling through the whole program.
add_executable(bench_calls_latency calls_latency.cpp)
target_link_libraries(bench_calls_latency PRIVATE rufwacht_app)
target_compile_definitions(bench_calls_latency PRIVATE RUFWACHT_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
add_executable(bench_callmonitor_latency callmonitor_latency.cpp)
target_link_libraries(bench_callmonitor_latency PRIVATE rufwacht_app)
target_compile_definitions(bench_callmonitor_latency PRIVATE
                           RUFWACHT_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
add_executable(bench_web_latency web_latency.cpp)
target_link_libraries(bench_web_latency PRIVATE rufwacht_app)
target_compile_definitions(bench_web_latency PRIVATE RUFWACHT_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
add_executable(bench_call_sharing call_sharing.cpp)
target_link_libraries(bench_call_sharing PRIVATE rufwacht_app)
target_compile_definitions(bench_call_sharing PRIVATE RUFWACHT_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
