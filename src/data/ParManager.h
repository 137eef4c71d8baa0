#pragma once

// The library's system parameters: the one row of Par_tab, read a column at
// a time and always fresh from the database, with a default for every
// missing value (the table may be empty).

#include <QString>
#include <QVariant>

class TParManager
{
public:
    // The column's value in the first row; null when the table is empty.
    QVariant GetParamField(const QString &column) const;
    bool GetParamBool(const QString &column, bool defaultValue) const;
    // The default when the value is NULL or blank; else the text unchanged.
    QString GetParamString(const QString &column, const QString &defaultValue) const;

    QString GetSystemName() const;
    QString GetCorpName() const;
    bool GetIsExitConfirm() const;
    bool GetIsShowUserListOnLogin() const;
    bool GetIsMaxBookManager() const;
};

extern TParManager *const ParManager;
