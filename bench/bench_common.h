#pragma once
// What the benchmarks share: the two backends, connecting sqlca to the
// benchmark database of one, and the registration of each family. Every
// measured benchmark NAME has its floor NAME_floor, run just before it on the
// same data; scripts/run-bench prints the ratio of their medians.

#include <benchmark/benchmark.h>
#include <string>

namespace bench {

enum class Backend { Sqlite, Postgres };

// "sqlite" or "pg", the suffix of the benchmark names.
const char* suffix(Backend backend);

// Connects host::sqlca to the benchmark database of `backend` (the open
// windows are closed first when it changes); false after SkipWithError.
bool connectSqlca(benchmark::State& state, Backend backend);

// The families; each registers its floor and its measured side for `backend`.
void registerLookupBenchmarks(Backend backend);
void registerWindowBenchmarks(Backend backend);
// journal_write: a rights save journaled by the triggers over the same save
// without them, each on a small database of its own; dropped at the end.
void registerJournalBenchmarks(Backend backend);
void dropJournalDatabases();
// A window like the group rights editor in bare Qt, without a database: the
// part of rights_editor that no reading can remove (not a ratio).
void registerBareWindowBenchmark();

// Installs the message service of the run (a box shown during a window
// benchmark fails it instead of waiting for an answer) and registers the
// module's windows and data views; gs_user_id becomes "admin".
void prepareWindows();

}  // namespace bench
