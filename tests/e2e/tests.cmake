# Tests of e2e.
