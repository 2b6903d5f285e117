# Sources of src/line (paths relative to src/).
