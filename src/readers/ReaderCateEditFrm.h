#pragma once

// The editor of one reader category: its name and the four limits, on the
// row of ReaderCateQuery that the category list prepared.

#include "forms/EditorForm.h"

class TDBEdit;

class TReaderCateEditForm : public TEditorForm
{
    Q_OBJECT
public:
    explicit TReaderCateEditForm(QWidget *parent = nullptr);

    TDBEdit *EditReaderCateName = nullptr;
    TDBEdit *EditLimitBooksCount = nullptr;
    TDBEdit *EditLimitDays = nullptr;
    TDBEdit *EditReLoanTimes = nullptr;
    TDBEdit *EditReLoanDays = nullptr;
};
