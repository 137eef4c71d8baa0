#include "BylawEditFrm.h"

#include "data/DMPas.h"
#include "data/DataSet.h"
#include "forms/DBControls.h"

#include <QCheckBox>
#include <QHBoxLayout>

using namespace Qt::StringLiterals;

TBylawEditForm::TBylawEditForm(QWidget *parent)
    : TEditorForm(u"BylawEditForm"_s, u"规章制度修改"_s, u"Bylaw.html"_s, DM1->BylawQuery, parent)
{
    EditSortCode = AddEdit(u"排序代码(&O)："_s, u"SortCode"_s);
    EditBylawTitle = AddEdit(u"规章制度标题(&T)："_s, u"BylawTitle"_s);
    MemoBylawContent = AddMemo(u"规章制度内容(&N)："_s, u"BylawContent"_s);
    EditMemo = AddEdit(u"备注(&R)："_s, u"Memo"_s);
    ChkAddNew = new QCheckBox(u"保存后新增(&A)"_s, this);
    ChkAddNew->setObjectName(u"ChkAddNew"_s);
    ButtonsLayout->insertWidget(0, ChkAddNew);
    MemoBylawContent->setMinimumSize(420, 220);
    SetResizable(true);
    EditSortCode->setFocus();
}

void TBylawEditForm::AfterSave()
{
    if (!ChkAddNew->isChecked()) {
        accept();
        return;
    }
    DataSet()->Append();
    EditSortCode->setFocus();
}
