#pragma once

// The operation log window (function 53): today's entries of the log by
// the database's date, to search, print and export. It changes nothing.

#include "forms/FatherFrm.h"

class TUserLogForm : public TFatherForm
{
    Q_OBJECT
public:
    explicit TUserLogForm(QWidget *parent = nullptr);

    TDataGrid *UserLogGrid = nullptr;
    QAction *UserLogFind = nullptr;
    QAction *UserLogCustomColumn = nullptr;
};
