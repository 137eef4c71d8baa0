#pragma once

// Sample data: a small but real library for a first run (`demo`), and any
// number of synthetic titles for benchmarks (`generate`).

#include <functional>

class TDurEzeConn;

// Loads the sample library into a database that holds no titles yet, in one
// transaction. Throws TDbError when the database already holds titles.
void LoadDemoLibrary(TDurEzeConn &conn);

// Adds `titles` synthetic titles with copies, and readers and loans in
// proportion, keeping every counter consistent. `progress` (may be empty)
// is told the number of titles written so far.
void GenerateLibrary(TDurEzeConn &conn, int titles,
                     const std::function<void(int done)> &progress = {});
