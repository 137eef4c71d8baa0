#pragma once

// The data dictionary: suggested values of eleven free-text fields of books,
// copies, readers and users, kept in Items_tab by category. The position of
// a category in DictCategories is the ItemCate of its items; its field name
// names the data field whose choice lists it feeds, wherever that field
// occurs. The dictionary suggests, it never constrains: records copy the
// text, and deleting an item changes no record.
//
// The rules of the dictionary window live here too, so they work without it.

#include <QString>
#include <QStringList>

// FieldName=label pairs, in ItemCate order.
const QStringList &DictCategories();
int DictCategoryCount();
QString DictCategoryField(int cate);
QString DictCategoryLabel(int cate);
// The ItemCate of a field name (letter case ignored); -1 when it has none.
int DictCategoryOf(const QString &fieldName);

// Clears the list and fills it with the item names of the field's category
// in ItemCode order (items without a code first, equal codes in the order
// they were added); a field that is no category gets an empty list.
void LoadDictItems(const QString &fieldName, QStringList &list);

// The items the dictionary window lists for a category, in the order of
// LoadDictItems; all items of all categories for -1 (no category chosen).
QString DictItemsSQL(int cate);
// Reopens the data module's ItemsQuery on DictItemsSQL.
void OpenDictItems(int cate);
// Adding needs a category: without one the user is told so. False then.
bool CheckDictCategoryChosen(int cate);
// Asks, then deletes the current item of ItemsQuery; true when deleted.
// Nothing happens while ItemsQuery has no rows.
bool DeleteDictItem();
