// Where the benchmarks find the work directory, the shared real data and the
// one-shot reader program. The paths differ from one checkout to the next, so
// only BenchPaths.cpp is compiled with them and every other file asks it: the
// compiler cache then serves those files to a clone in another folder.
#pragma once

const char* BenchWorkDir();
const char* BenchSharedData();
const char* BenchMferReadOnce();

#define MORVELANCE_WORKDIR BenchWorkDir()
#define MORVELANCE_SHARED_DATA BenchSharedData()
#define MORVELANCE_MFER_READ_ONCE BenchMferReadOnce()
