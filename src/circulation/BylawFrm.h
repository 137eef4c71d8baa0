#pragma once

// The lending regulations (function 23): the library's titled rule texts,
// maintained, printed and exported here.

#include "forms/FatherFrm.h"

class TBylawForm : public TFatherForm
{
    Q_OBJECT
public:
    explicit TBylawForm(QWidget *parent = nullptr);

    TDataGrid *BylawGrid = nullptr;
    QAction *BylawAdd = nullptr;
    QAction *BylawMod = nullptr;
    QAction *BylawDel = nullptr;
    QAction *BylawFind = nullptr;
    QAction *BylawCustomColumn = nullptr;
};
