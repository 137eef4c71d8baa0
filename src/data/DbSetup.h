#pragma once

// Creating a new, empty library database of either kind from the schema,
// with its seed rows.

#include "AppConfig.h"

class TDurEzeConn;

// Creates the database the settings name and fills it with the schema and
// the seed rows. Refuses (TDbError) when the database already exists; on any
// failure nothing is left behind.
void CreateDatabase(const TConnectionSettings &settings);

// Creates the tables, views and indexes and inserts the seed rows on an open
// connection to an empty database, in one transaction.
void CreateSchema(TDurEzeConn &conn);

// True when the database the settings name exists (an SQLite file, or a
// PostgreSQL database on its server).
bool DatabaseExists(const TConnectionSettings &settings);

// Removes the database the settings name (the SQLite file with its journal
// files, or the PostgreSQL database). Nothing happens when it is not there.
void DropDatabase(const TConnectionSettings &settings);
