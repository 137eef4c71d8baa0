#include "ReaderCateEditFrm.h"

#include "data/DMPas.h"
#include "forms/DBControls.h"

using namespace Qt::StringLiterals;

TReaderCateEditForm::TReaderCateEditForm(QWidget *parent)
    : TEditorForm(u"ReaderCateEditForm"_s, u"读者类别修改"_s, QString(), DM1->ReaderCateQuery, parent)
{
    EditReaderCateName = AddEdit(u"读者类别名称(&N)："_s, u"ReaderCateName"_s);
    EditLimitBooksCount = AddEdit(u"可借书数(&B)："_s, u"LimitBooksCount"_s);
    EditLimitDays = AddEdit(u"可借天数(&D)："_s, u"LimitDays"_s);
    EditReLoanTimes = AddEdit(u"可续借次数(&T)："_s, u"ReLoanTimes"_s);
    EditReLoanDays = AddEdit(u"每次可续借天数(&R)："_s, u"ReLoanDays"_s);
    EditReaderCateName->setMinimumWidth(220);
    EditReaderCateName->setFocus();
}
