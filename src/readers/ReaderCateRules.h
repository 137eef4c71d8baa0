#pragma once

// The rules of the reader categories, callable without the window. A
// category holds the circulation limits of its readers; it cannot go while
// any reader belongs to it.

#include <QString>

// The fields the query builder offers for reader categories.
QString ReaderCateFindFields();

// True when a reader belongs to the category.
bool ReaderCateInUse(int readerCateID);

// Deletes the current category of ReaderCateQuery: refused with a message
// while a reader uses it, else asked first. True when deleted; nothing
// happens while the query has no rows.
bool DeleteReaderCate();
