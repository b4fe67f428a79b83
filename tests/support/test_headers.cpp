// The headers nearly every test compiles are precompiled once per tree with this file's options
// (the test_headers target), and each test executable reuses them.
