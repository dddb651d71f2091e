// The translation unit test_pch compiles the test programs' shared
// precompiled header with; it holds no code of its own.
