#include "ReaderCateFrm.h"

#include "ReaderCateEditFrm.h"
#include "ReaderCateRules.h"

#include "data/DMPas.h"
#include "data/DataSet.h"
#include "forms/DataGrid.h"
#include "forms/EditorForm.h"

#include <QAction>

using namespace Qt::StringLiterals;

TReaderCateForm::TReaderCateForm(QWidget *parent)
    : TFatherForm(u"ReaderCateForm"_s, u"读者类别设置"_s, u"ReaderCate.html"_s, parent)
{
    TDataSet *cates = DM1->ReaderCateQuery;
    ReaderCateGrid = AddMainGrid(cates, u"ReaderCateGrid"_s);
    ReaderCateAdd = AddFunAction(u"ReaderCateAdd"_s, u"新增(&A)"_s, 0, rtOperate, [cates] {
        RunEditor<TReaderCateEditForm>(cates, TEditMode::Append);
    });
    ReaderCateMod = AddFunAction(u"ReaderCateMod"_s, u"修改(&M)"_s, 1, rtOperate, [cates] {
        RunEditor<TReaderCateEditForm>(cates, TEditMode::Edit);
    });
    ReaderCateDel = AddFunAction(u"ReaderCateDel"_s, u"删除(&D)"_s, 2, rtOperate,
                                 [] { DeleteReaderCate(); });
    ReaderCateFind = AddFindAction(u"ReaderCateFind"_s, ReaderCateFindFields(), DM1->ReaderCateBaseSQL);
    ReaderCateCustomColumn = AddCustomColumnAction(u"ReaderCateCustomColumn"_s);
    ReaderCateGrid->SetModifyAction(ReaderCateMod);
    SetRowActions({ReaderCateMod, ReaderCateDel});
    ReaderCateGrid->OpenSql(DM1->ReaderCateBaseSQL);
}
