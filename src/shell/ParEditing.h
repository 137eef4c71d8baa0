#pragma once

// The editing of the system parameters, callable without their window: the
// one row of Par_tab on the data module's ParQuery, a new row when the
// table is empty.

#include <QString>

struct TParValues {
    QString SystemName;
    QString CorpName;
    bool IsExitConfirm = false;
    bool IsShowUserListOnLogin = true;
    bool IsMaxBookManager = true;
};

// Reopens ParQuery and puts its first row in edit state (a new row when the
// table is empty). Returns the values to show: a NULL SystemName becomes the
// empty text, a NULL switch shows the default it stands for.
TParValues BeginParEdit();
// Writes the values into the row and posts it.
void SaveParEdit(const TParValues &values);
// Closes ParQuery; an edit that was not saved is dropped.
void EndParEdit();
