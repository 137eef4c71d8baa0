#include "DictCombos.h"

#include "data/DataDict.h"
#include "forms/DBControls.h"

#include <QWidget>

void FillDictCombo(TDBComboBox *box)
{
    QStringList items;
    LoadDictItems(box->DataField(), items);
    box->SetItems(items);
}

void FillDictCombos(QWidget *page)
{
    for (TDBComboBox *box : page->findChildren<TDBComboBox *>(Qt::FindDirectChildrenOnly))
        if (DictCategoryOf(box->DataField()) >= 0)
            FillDictCombo(box);
}
