#pragma once

// What the benchmarks share: the SQLite catalogues of synthetic titles
// (GenerateLibrary, as `vellumark-db generate` makes them), kept between
// runs in /tmp/vellumark-bench or $VELLUMARK_BENCH_DIR, and the process's
// peak memory.

#include "data/AppConfig.h"

#include <QString>

TConnectionSettings BenchSqliteSettings(const QString &file);

// The file of a catalogue of `titles` titles, generated on first use.
QString BenchCatalogue(int titles);

// The highest resident size of the process so far (ru_maxrss), in MB.
double PeakMegabytes();

// Runs the benchmarks the command line names; a database error ends the
// run with its message. The caller has made its Qt application.
int RunBenchmarks(int argc, char **argv);
