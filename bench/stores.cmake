# Benchmarks of stores.
rufwacht_core_bench(bench_stores stores_bench.cpp)
# Time per call while the journal grows (a plain program: it prints two figures).
add_executable(bench_journal_growth journal_growth.cpp)
target_link_libraries(bench_journal_growth PRIVATE rufwacht_core)
# Completing old records of a large journal (a plain program: it prints its figures).
add_executable(bench_journal_old_record journal_old_record.cpp)
target_link_libraries(bench_journal_old_record PRIVATE rufwacht_core)
# Address books: a 20,000-contact vCard file read into the index, a caller found among them.
rufwacht_core_bench(bench_contacts contacts_bench.cpp)
