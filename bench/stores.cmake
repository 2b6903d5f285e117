# Benchmarks of stores.
