#pragma once

// The editor of one lending regulation. Its text box grows with the dialog
// and takes Enter as a new line; with "保存后新增(&A)" ticked the dialog
// stays open after each save on a fresh row.

#include "forms/EditorForm.h"

class QCheckBox;
class TDBEdit;
class TDBMemo;

class TBylawEditForm : public TEditorForm
{
    Q_OBJECT
public:
    explicit TBylawEditForm(QWidget *parent = nullptr);

    TDBEdit *EditSortCode = nullptr;
    TDBEdit *EditBylawTitle = nullptr;
    TDBMemo *MemoBylawContent = nullptr;
    TDBEdit *EditMemo = nullptr;
    QCheckBox *ChkAddNew = nullptr;

protected:
    void AfterSave() override;
};
