#include "DataDictEditFrm.h"

#include "data/DMPas.h"
#include "forms/DBControls.h"

using namespace Qt::StringLiterals;

TDataDictEditForm::TDataDictEditForm(QWidget *parent)
    : TEditorForm(u"DataDictEditForm"_s, u"项目修改"_s, u"DataDict.html"_s, DM1->ItemsQuery, parent)
{
    EditItemCode = AddEdit(u"项目编码(&I)："_s, u"ItemCode"_s);  // &C is 取消(&C)
    EditItemName = AddEdit(u"项目名称(&N)："_s, u"ItemName"_s);
    EditItemName->setMinimumWidth(240);
    EditItemCode->setFocus();
}
