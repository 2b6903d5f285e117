# Tests of calls.
