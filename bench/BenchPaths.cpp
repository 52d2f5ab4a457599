// Compiled with the checkout's paths (see BenchPaths.h).
const char* BenchWorkDir() { return BENCH_WORKDIR_PATH; }
const char* BenchSharedData() { return BENCH_SHARED_DATA_PATH; }
const char* BenchMferReadOnce() { return BENCH_MFER_READ_ONCE_PATH; }
