# Benchmarks of ui.
add_executable(bench_ui ui_bench.cpp)
target_link_libraries(bench_ui PRIVATE rufwacht_app rufwacht_test_support benchmark::benchmark)
add_dependencies(bench_ui rufwacht)
# Start to the tray icon and idle memory beside a bare Qt tray program (Xvfb and trayer).
find_package(Qt6 REQUIRED COMPONENTS Widgets)
add_executable(bench_bare_tray bare_tray.cpp)
target_link_libraries(bench_bare_tray PRIVATE Qt6::Widgets)
add_executable(bench_start start_bench.cpp)
target_link_libraries(bench_start PRIVATE rufwacht_e2e_support xcb)
add_dependencies(bench_start rufwacht bench_bare_tray)
# Calls through the whole program: per-call CPU, a burst of calls, and a soak.
add_executable(bench_desktop_calls desktop_calls.cpp)
target_link_libraries(bench_desktop_calls PRIVATE rufwacht_app)
target_compile_definitions(bench_desktop_calls PRIVATE RUFWACHT_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
