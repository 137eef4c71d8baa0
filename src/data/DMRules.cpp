// The defaults of new rows and the checks before a row is posted, for every
// dataset of the data module that windows edit.

#include "DMPas.h"

#include "CurrentUser.h"
#include "DataSet.h"
#include "DbHelpers.h"
#include "Messages.h"
#include "SilentAbort.h"

using namespace Qt::StringLiterals;

namespace {

QDate today()
{
    return GetServerNow().date();
}

void setRegistration(TDataSet &ds)
{
    ds.FieldByName(u"RegDate"_s)->SetValue(today());
    ds.FieldByName(u"Operator"_s)->SetValue(CurrentUser().UserCode);
}

void notEmpty(TDataSet &ds, const QString &field, const QString &caption = {})
{
    CheckFieldNotEmpty(ds.FieldByName(field), caption);
}

void unique(TDataSet &ds, const QString &field, const QString &table)
{
    CheckFieldUnique(ds.FieldByName(field), table);
}

// A count or a number of days that cannot be below zero (empty stays
// allowed: it counts as 0).
void notNegative(TDataSet &ds, const QString &field)
{
    TField *f = ds.FieldByName(field);
    if (!f->IsNull() && f->AsInteger() < 0)
        FailFieldCheck(f, u"%1不能是负数。"_s.arg(f->DisplayLabel()));
}

// The unique check for values that compare without regard to letter case,
// as their unique index does (login names: "admin" is "Admin").
void uniqueIgnoringCase(TDataSet &ds, const QString &field, const QString &table)
{
    TField *f = ds.FieldByName(field);
    const QString text = f->AsString().trimmed();
    if (text.isEmpty() || (ds.State() == TDataSetState::Edit && SameTrimmedText(f->Value(), f->OldValue())))
        return;
    if (ValueExists(text.toLower(), u"LOWER(%1)"_s.arg(field), table, {}, true))
        FailFieldCheck(f, u"您输入的%1已存在。"_s.arg(f->DisplayLabel()));
}

} // namespace

QStringList &CopyDefaults()
{
    static QStringList defaults;
    return defaults;
}

void TDM1::installRules()
{
    UserQuery->AfterInsert = [](TDataSet &ds) {
        ds.FieldByName(u"IsLock"_s)->SetValue(false);
    };
    UserQuery->BeforePost = [](TDataSet &ds) {
        // Stored as the login compares it: the user list and the typed
        // name are trimmed, so "lib01 " could never log in.
        TField *code = ds.FieldByName(u"UserCode"_s);
        if (!code->IsNull() && code->AsString() != code->AsString().trimmed())
            code->SetValue(code->AsString().trimmed());
        notEmpty(ds, u"UserCode"_s);
        uniqueIgnoringCase(ds, u"UserCode"_s, u"Users_tab"_s);
        notEmpty(ds, u"UserName"_s);
    };

    ItemsQuery->BeforePost = [](TDataSet &ds) { notEmpty(ds, u"ItemName"_s); };

    ReaderCateQuery->BeforePost = [](TDataSet &ds) {
        notEmpty(ds, u"ReaderCateName"_s);
        unique(ds, u"ReaderCateName"_s, u"ReaderCate_tab"_s);
        // A negative limit would date a loan's return before the loan itself.
        for (const QString &limit : {u"LimitBooksCount"_s, u"LimitDays"_s, u"ReLoanTimes"_s, u"ReLoanDays"_s})
            notNegative(ds, limit);
    };

    ReadersQuery->AfterInsert = [](TDataSet &ds) {
        ds.FieldByName(u"Sex"_s)->SetValue(true);
        setRegistration(ds);
    };
    ReadersQuery->BeforePost = [](TDataSet &ds) {
        notEmpty(ds, u"ReaderName"_s);
        unique(ds, u"ReaderCode"_s, u"Readers_tab"_s);
        unique(ds, u"CardID"_s, u"Readers_tab"_s);
        notEmpty(ds, u"ReaderCateID"_s, u"读者类别"_s);
    };

    PublishersQuery->BeforePost = [](TDataSet &ds) {
        notEmpty(ds, u"PublisherName"_s);
        unique(ds, u"PublisherName"_s, u"Publishers_tab"_s);
    };

    BookCateQuery->BeforePost = [](TDataSet &ds) {
        notEmpty(ds, u"BookCateCode"_s);
        unique(ds, u"BookCateCode"_s, u"BookCate_tab"_s);
        notEmpty(ds, u"BookCateName"_s);
    };

    BooksQuery->AfterInsert = [](TDataSet &ds) {
        ds.FieldByName(u"LoanCount"_s)->SetValue(0);
        setRegistration(ds);
    };
    BooksQuery->BeforePost = [](TDataSet &ds) {
        notEmpty(ds, u"BookName"_s);
        notEmpty(ds, u"Author"_s);
        notEmpty(ds, u"BookType"_s);
    };

    BylawQuery->AfterInsert = setRegistration;
    BylawQuery->BeforePost = [](TDataSet &ds) {
        notEmpty(ds, u"BylawTitle"_s);
        unique(ds, u"BylawTitle"_s, u"Bylaw_tab"_s);
        notEmpty(ds, u"BylawContent"_s);
    };

    CopiesQuery->AfterInsert = [this](TDataSet &ds) {
        // A title still being added has no key yet; the book editor gives
        // its copies the new key when it saves them.
        const bool titleIsNew = BooksQuery->State() == TDataSetState::Insert;
        ds.FieldByName(u"BookID"_s)
            ->SetValue(titleIsNew ? 0 : BooksQuery->FieldByName(u"BookID"_s)->AsInteger());
        ds.FieldByName(u"BookState"_s)->SetValue(u"可借"_s);
        setRegistration(ds);
        for (const QString &pair : CopyDefaults()) {
            const int eq = pair.indexOf(u'=');
            if (eq <= 0)
                continue;
            if (TField *f = ds.FindField(pair.left(eq)))
                f->SetValue(pair.mid(eq + 1));
        }
    };
}
