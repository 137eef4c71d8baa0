#pragma once

// The rules of the lending regulations, callable without the window. The
// regulations are texts for people; nothing in the system reads them, and
// nothing refers to them.

#include <QString>

// "SELECT * FROM Bylaw_tab" with the base WHERE clause: rows come in the
// database's order unless the user sorts by a title.
QString BylawBaseSQL();
// The fields the query builder offers.
QString BylawFindFields();

// Asks, then deletes the current regulation of BylawQuery; true when
// deleted. Nothing happens while the query has no rows.
bool DeleteBylaw();
