#pragma once

// The reader category list (function 22): the categories with the lending
// limits that the circulation desk applies to their readers.

#include "forms/FatherFrm.h"

class TReaderCateForm : public TFatherForm
{
    Q_OBJECT
public:
    explicit TReaderCateForm(QWidget *parent = nullptr);

    TDataGrid *ReaderCateGrid = nullptr;
    QAction *ReaderCateAdd = nullptr;
    QAction *ReaderCateMod = nullptr;
    QAction *ReaderCateDel = nullptr;
    QAction *ReaderCateFind = nullptr;
    QAction *ReaderCateCustomColumn = nullptr;
};
