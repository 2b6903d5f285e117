# Sources of src/calls (paths relative to src/).
