# Benchmarks of calls.
