# Tests of line.
