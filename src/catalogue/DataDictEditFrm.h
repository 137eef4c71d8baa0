#pragma once

// The editor of one dictionary item: its code and name, on the row of the
// data module's ItemsQuery that the dictionary window prepared.

#include "forms/EditorForm.h"

class TDBEdit;

class TDataDictEditForm : public TEditorForm
{
    Q_OBJECT
public:
    explicit TDataDictEditForm(QWidget *parent = nullptr);

    TDBEdit *EditItemCode = nullptr;
    TDBEdit *EditItemName = nullptr;
};
