#pragma once

// The SQL of the operation log window, callable without it. The window
// reads the log and changes nothing in it.

#include <QString>

// "SELECT * FROM UserLog_tab" with the base WHERE clause.
QString UserLogBaseSQL();
// The entries of the database's today: the window opens on these.
QString UserLogTodaySQL();
// The fields the query builder offers; a search replaces the today filter.
QString UserLogFindFields();
