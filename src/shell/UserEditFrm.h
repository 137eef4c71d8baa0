#pragma once

// The editor of one member of staff, on the current row of UserQuery. It
// has no password field: a new user has none until they set one. A saved
// user code cannot change, and "Admin" cannot be locked.

#include "forms/EditorForm.h"

class QLabel;
class TDBCheckBox;
class TDBComboBox;
class TDBEdit;
class TDBMemo;

class TUserEditForm : public TEditorForm
{
    Q_OBJECT
public:
    explicit TUserEditForm(QWidget *parent = nullptr);

    TDBEdit *EditUserCode = nullptr;
    TDBEdit *EditUserName = nullptr;
    TDBEdit *EditTitle = nullptr;
    TDBComboBox *CboDepts = nullptr;
    TDBMemo *MemoMemo = nullptr;
    TDBCheckBox *ChkIsLock = nullptr;
    QLabel *LblMaker = nullptr;
};
