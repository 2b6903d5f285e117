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
