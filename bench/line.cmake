# Benchmarks of line.
