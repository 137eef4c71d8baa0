#pragma once

// The members of staff and their rights (function 52): add, modify and
// delete users, and open the rights editor of one.

#include "forms/FatherFrm.h"

class TUserForm : public TFatherForm
{
    Q_OBJECT
public:
    explicit TUserForm(QWidget *parent = nullptr);

    TDataGrid *UserGrid = nullptr;
    QAction *UserAdd = nullptr;
    QAction *UserMod = nullptr;
    QAction *UserDel = nullptr;
    QAction *UserAccredit = nullptr;
    QAction *UserFind = nullptr;
    QAction *UserCustomColumn = nullptr;

    void UserAccreditExecute();
};
