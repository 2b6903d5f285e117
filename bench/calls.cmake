# Benchmarks of the call handling through the whole program.
add_executable(bench_calls_latency calls_latency.cpp)
target_link_libraries(bench_calls_latency PRIVATE rufwacht_app)
target_compile_definitions(bench_calls_latency PRIVATE RUFWACHT_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
add_executable(bench_callmonitor_latency callmonitor_latency.cpp)
target_link_libraries(bench_callmonitor_latency PRIVATE rufwacht_app)
target_compile_definitions(bench_callmonitor_latency PRIVATE
                           RUFWACHT_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
# The MQTT output against Debian's mosquitto, beside libmosquitto's own threaded loop.
find_package(PkgConfig REQUIRED)
pkg_check_modules(MOSQUITTO REQUIRED IMPORTED_TARGET libmosquitto)
find_package(Qt6 REQUIRED COMPONENTS Test)
add_executable(bench_mqtt_latency mqtt_latency.cpp ${PROJECT_SOURCE_DIR}/tests/e2e/MosquittoBroker.cpp)
target_include_directories(bench_mqtt_latency PRIVATE ${PROJECT_SOURCE_DIR}/tests/e2e)
target_link_libraries(bench_mqtt_latency PRIVATE rufwacht_app PkgConfig::MOSQUITTO Qt6::Test)
target_compile_definitions(bench_mqtt_latency PRIVATE RUFWACHT_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
