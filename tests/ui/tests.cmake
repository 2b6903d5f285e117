# Tests of ui.
