# Benchmarks of the call handling through the whole program.
add_executable(bench_calls_latency calls_latency.cpp)
target_link_libraries(bench_calls_latency PRIVATE rufwacht_app)
target_compile_definitions(bench_calls_latency PRIVATE RUFWACHT_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
add_executable(bench_callmonitor_latency callmonitor_latency.cpp)
target_link_libraries(bench_callmonitor_latency PRIVATE rufwacht_app)
target_compile_definitions(bench_callmonitor_latency PRIVATE
                           RUFWACHT_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
find_package(Qt6 REQUIRED COMPONENTS DBus)
add_executable(bench_notify_latency notify_latency.cpp ${PROJECT_SOURCE_DIR}/tests/e2e/SessionBus.cpp
                                    ${PROJECT_SOURCE_DIR}/tests/e2e/SessionBus.h)
set_target_properties(bench_notify_latency PROPERTIES AUTOMOC ON)
target_include_directories(bench_notify_latency PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(bench_notify_latency PRIVATE rufwacht_app Qt6::DBus)
target_compile_definitions(bench_notify_latency PRIVATE RUFWACHT_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
