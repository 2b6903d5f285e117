# Sources of src/net (paths relative to src/).
