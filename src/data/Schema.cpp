#include "Schema.h"

#include <QSet>

using namespace Qt::StringLiterals;

namespace Schema {

namespace {

using T = ColumnType;

Column makeColumn(const QString &name, ColumnType type, int size, const QString &label)
{
    Column c;
    c.name = name;
    c.type = type;
    c.size = size;
    c.label = label;
    return c;
}

Column key(const QString &name, const QString &label = {})
{
    Column c = makeColumn(name, T::Key, 0, label);
    c.readOnly = true;
    // Keys stay out of grids, except the three that people read.
    c.hidden = !(name == u"UserLogID" || name == u"ParID" || name == u"PictureID");
    return c;
}

Column str(const QString &name, int size, const QString &label = {})
{
    return makeColumn(name, T::String, size, label);
}

Column col(const QString &name, ColumnType type, const QString &label = {}, QVariant def = {})
{
    Column c = makeColumn(name, type, 0, label);
    c.defaultValue = def;
    return c;
}

Column hiddenCol(Column c)
{
    c.hidden = true;
    return c;
}

// The registration pair that several tables carry.
QList<Column> regColumns()
{
    return {col(u"RegDate"_s, T::Date, u"登记日期"_s), str(u"Operator"_s, 20, u"操作员"_s)};
}

Table table(const QString &name, const QList<Column> &columns, bool registered = false)
{
    Table t{name, columns};
    if (registered)
        t.columns += regColumns();
    return t;
}

QList<Table> buildTables()
{
    QList<Table> t;

    t.append(table(u"Books_tab"_s, {
        key(u"BookID"_s, u"书刊序号"_s),
        str(u"ISBNISSN"_s, 20, u"ISBN\\ISSN"_s),
        str(u"BookName"_s, 100, u"书刊名称"_s),
        str(u"BookInputCode"_s, 100, u"输入码"_s),
        str(u"Author"_s, 100, u"著者"_s),
        str(u"BookType"_s, 40, u"馆藏类型"_s),
        str(u"CateCode"_s, 20, u"分类号"_s),
        str(u"CateName"_s, 100, u"分类名称"_s),
        str(u"Publisher"_s, 100, u"出版单位"_s),
        str(u"PublishPlace"_s, 50, u"出版地"_s),
        str(u"PublishDate"_s, 20, u"出版日期"_s),
        col(u"BookPrice"_s, T::Money, u"书刊定价"_s),
        col(u"TotalCount"_s, T::Integer, u"总册数"_s, 0),
        col(u"LoanCount"_s, T::Integer, u"借出册数"_s, 0),
        str(u"Keywords"_s, 200, u"主题词"_s),
        str(u"SeriesName"_s, 100, u"丛编名"_s),
        str(u"EditionTime"_s, 40, u"书刊版次"_s),
        str(u"BookLanguage"_s, 40, u"书刊语言"_s),
        str(u"BookFaceInfo"_s, 40, u"载体形态"_s),
        str(u"BookAddons"_s, 40, u"附件"_s),
        str(u"CN"_s, 20, u"CN 刊号"_s),
        str(u"PublishPeriods"_s, 40, u"出版周期"_s),
        str(u"UpDept"_s, 100, u"主办单位"_s),
        hiddenCol(col(u"ContentIntro"_s, T::Memo, u"内容简介"_s)),
        str(u"Memo"_s, 100, u"备注"_s),
    }, true));

    t.append(table(u"Copies_tab"_s, {
        key(u"CopyID"_s),
        hiddenCol(col(u"BookID"_s, T::Integer)),
        str(u"BookBarCode"_s, 40, u"书刊条码 (自编号)"_s),
        str(u"BookState"_s, 10, u"状态"_s),
        str(u"BookCode"_s, 40, u"索书号"_s),
        str(u"BookRoom"_s, 40, u"所在书室"_s),
        str(u"BookPos"_s, 40, u"书刊架位"_s),
        str(u"VolumeInfo"_s, 40, u"卷册期信息"_s),
        col(u"Price"_s, T::Money, u"卷册期价格"_s),
    }, true));

    t.append(table(u"BookCate_tab"_s, {
        key(u"BookCateID"_s),
        hiddenCol(col(u"BookCateParentID"_s, T::Integer)),
        str(u"BookCateCode"_s, 20, u"书刊类别编码"_s),
        str(u"BookCateName"_s, 100, u"书刊类别名称"_s),
    }));

    t.append(table(u"Publishers_tab"_s, {
        key(u"PublisherID"_s, u"出版单位编号"_s),
        str(u"PublisherName"_s, 100, u"出版单位名称"_s),
        str(u"PublisherInputCode"_s, 100, u"输入码"_s),
        str(u"PublisherISBN"_s, 20, u"出版单位ISBN"_s),
        str(u"PublisherPlace"_s, 50, u"出版地"_s),
    }));

    t.append(table(u"Items_tab"_s, {
        key(u"ItemID"_s, u"编号"_s),
        col(u"ItemCode"_s, T::SmallInt, u"项目编码"_s),
        str(u"ItemName"_s, 40, u"项目名称"_s),
        hiddenCol(col(u"ItemCate"_s, T::SmallInt, u"类别"_s)),
    }));

    t.append(table(u"Readers_tab"_s, {
        key(u"ReaderID"_s, u"读者序号"_s),
        str(u"ReaderName"_s, 20, u"读者姓名"_s),
        str(u"ReaderInputCode"_s, 20, u"输入码"_s),
        str(u"ReaderCode"_s, 20, u"读者编码"_s),
        str(u"CardID"_s, 20, u"证卡编码"_s),
        hiddenCol(col(u"ReaderCateID"_s, T::Integer)),
        col(u"Sex"_s, T::Boolean, u"性别"_s),
        col(u"BirthDate"_s, T::Date, u"出生日期"_s),
        str(u"CorpName"_s, 40, u"工作单位"_s),
        str(u"DeptName"_s, 40, u"所在部门"_s),
        str(u"IDCard"_s, 18, u"身份证号"_s),
        str(u"WorkCard"_s, 20, u"工作证号"_s),
        str(u"WorkPhone"_s, 20, u"工作电话"_s),
        str(u"HomePhone"_s, 20, u"家庭电话"_s),
        str(u"MobilePhone"_s, 20, u"移动电话"_s),
        str(u"EMail"_s, 40, u"电子邮件"_s),
        str(u"Address"_s, 50, u"联系地址"_s),
        str(u"Memo"_s, 50, u"备注"_s),
    }, true));

    t.append(table(u"ReaderCate_tab"_s, {
        key(u"ReaderCateID"_s),
        str(u"ReaderCateName"_s, 40, u"读者类别名称"_s),
        col(u"LimitBooksCount"_s, T::SmallInt, u"可借书数"_s),
        col(u"LimitDays"_s, T::SmallInt, u"可借天数"_s),
        col(u"ReLoanTimes"_s, T::SmallInt, u"可续借次数"_s),
        col(u"ReLoanDays"_s, T::SmallInt, u"每次可续借天数"_s),
    }));

    t.append(table(u"Pictures_tab"_s, {
        key(u"PictureID"_s),
        str(u"PictureCate"_s, 20),
        col(u"JoinID"_s, T::Integer),
        col(u"PicContent"_s, T::Blob),
    }));

    t.append(table(u"LoanList_tab"_s, {
        key(u"LoanListID"_s),
        hiddenCol(col(u"CopyID"_s, T::Integer)),
        hiddenCol(col(u"BookID"_s, T::Integer)),
        hiddenCol(col(u"ReaderID"_s, T::Integer)),
        col(u"LoanDate"_s, T::Date, u"借出日期"_s),
        str(u"LoanTime"_s, 8, u"借出时间"_s),
        col(u"ShouldReturnDate"_s, T::Date, u"应还日期"_s),
        col(u"ReLoanTimes"_s, T::SmallInt, u"已续借次数"_s, 0),
        col(u"ReLoanDate"_s, T::Date, u"续借日期"_s),
        col(u"IsReturn"_s, T::Boolean, u"是否归还"_s, 0),
        col(u"FactReturnDate"_s, T::Date, u"归还日期"_s),
        str(u"FactReturnTime"_s, 8, u"归还时间"_s),
        str(u"LoanOperator"_s, 20, u"借出操作员"_s),
        str(u"ReturnOperator"_s, 20, u"归还操作员"_s),
    }));

    t.append(table(u"Bylaw_tab"_s, {
        key(u"BylawID"_s, u"序号"_s),
        col(u"SortCode"_s, T::Integer, u"排序代码"_s),
        str(u"BylawTitle"_s, 50, u"规章制度标题"_s),
        hiddenCol(col(u"BylawContent"_s, T::Memo, u"规章制度内容"_s)),
        str(u"Memo"_s, 50, u"备注"_s),
    }, true));

    t.append(table(u"Users_tab"_s, {
        key(u"UserID"_s, u"编号"_s),
        str(u"UserCode"_s, 20, u"登录代号"_s),
        // Wide enough for a salted password hash.
        hiddenCol(str(u"UserPwd"_s, 128, u"用户密码"_s)),
        str(u"UserName"_s, 10, u"真实姓名"_s),
        str(u"Title"_s, 20, u"职务"_s),
        str(u"Dept"_s, 20, u"部门"_s),
        col(u"IsLock"_s, T::Boolean, u"锁定"_s),
        str(u"Memo"_s, 50, u"备注"_s),
    }));

    t.append(table(u"UserFun_tab"_s, {
        key(u"FunID"_s),
        str(u"FunName"_s, 16, u"功能名称"_s),
        col(u"FunKey"_s, T::Integer),
        col(u"FunCode"_s, T::Integer),
        hiddenCol(col(u"FunCate"_s, T::SmallInt, u"功能类别"_s)),
        col(u"IsUsed"_s, T::Boolean),
        col(u"ImgIndex"_s, T::Integer),
        str(u"FunMemo"_s, 100),
    }));

    t.append(table(u"UserAccredit_tab"_s, {
        key(u"AccID"_s),
        col(u"UserID"_s, T::Integer),
        col(u"FunID"_s, T::Integer),
        col(u"IsOpen"_s, T::Boolean, u"打开权限"_s),
        col(u"IsOperate"_s, T::Boolean, u"操作权限"_s),
        col(u"IsPrint"_s, T::Boolean, u"打印权限"_s),
    }));

    t.append(table(u"Par_tab"_s, {
        key(u"ParID"_s),
        str(u"SystemName"_s, 50, u"系统名称"_s),
        str(u"CorpName"_s, 50, u"使用单位"_s),
        col(u"IsExitConfirm"_s, T::Boolean, u"退出系统时显示确认对话框"_s),
        col(u"IsShowUserListOnLogin"_s, T::Boolean, u"在登录界面显示用户列表"_s),
        col(u"IsMaxBookManager"_s, T::Boolean, u"书刊信息维护窗口打开时最大化"_s),
    }));

    t.append(table(u"UserLog_tab"_s, {
        key(u"UserLogID"_s, u"序号"_s),
        col(u"LogDate"_s, T::Date, u"操作日期"_s),
        str(u"LogTime"_s, 8, u"操作时间"_s),
        str(u"WinName"_s, 16, u"窗口名称"_s),
        str(u"OperateContent"_s, 4, u"操作内容"_s),
        str(u"ComputerName"_s, 20, u"机器名称"_s),
        str(u"UserCode"_s, 20, u"登录代号"_s),
        str(u"UserName"_s, 10, u"真实姓名"_s),
        str(u"Memo"_s, 30, u"备注"_s),
    }));

    return t;
}

// A column of a table as a view shows it, optionally relabelled.
ViewColumn from(const QString &alias, const QString &table, const QString &name,
                const QString &label = {})
{
    const Table *src = FindTable(table);
    Q_ASSERT(src);
    const Column *c = src->column(name);
    Q_ASSERT(c);
    ViewColumn vc{alias, *c, {}};
    if (!label.isEmpty())
        vc.column.label = label;
    return vc;
}

QList<ViewColumn> allOf(const QString &alias, const QString &table)
{
    QList<ViewColumn> out;
    for (const Column &c : FindTable(table)->columns)
        out.append(from(alias, table, c.name));
    return out;
}

ViewColumn remainCount(const QString &alias)
{
    Column c = makeColumn(u"RemainCount"_s, T::Integer, 0, u"剩余册数"_s);
    c.readOnly = true;
    // NULL counters count as none, so a title never shows an empty remainder.
    return {alias, c,
            u"COALESCE(%1.TotalCount, 0) - COALESCE(%1.LoanCount, 0)"_s.arg(alias)};
}

ViewColumn readOnly(ViewColumn vc)
{
    vc.column.readOnly = true;
    return vc;
}

QList<View> buildViews()
{
    QList<View> v;

    {
        View r{u"Readers_view"_s, u"Readers_tab"_s,
               u"FROM Readers_tab r LEFT JOIN ReaderCate_tab rc ON rc.ReaderCateID = r.ReaderCateID"_s,
               allOf(u"r"_s, u"Readers_tab"_s)};
        r.columns.append(readOnly(from(u"rc"_s, u"ReaderCate_tab"_s, u"ReaderCateName"_s,
                                       u"读者类别"_s)));
        v.append(r);
    }
    {
        View b{u"Books_view"_s, u"Books_tab"_s, u"FROM Books_tab b"_s,
               allOf(u"b"_s, u"Books_tab"_s)};
        b.columns.append(remainCount(u"b"_s));
        v.append(b);
    }
    {
        View c{u"Copies_view"_s, {},
               u"FROM Copies_tab c JOIN Books_tab b ON b.BookID = c.BookID"_s, {}};
        for (const char *name : {"CopyID", "BookID", "BookBarCode", "BookState", "BookCode"})
            c.columns.append(from(u"c"_s, u"Copies_tab"_s, QString::fromLatin1(name)));
        c.columns[2].column.label = u"书刊条码"_s;
        c.columns.append(from(u"b"_s, u"Books_tab"_s, u"BookName"_s));
        c.columns.append(from(u"b"_s, u"Books_tab"_s, u"Author"_s));
        c.columns.append(from(u"b"_s, u"Books_tab"_s, u"BookType"_s, u"馆藏类别"_s));
        c.columns.append(from(u"b"_s, u"Books_tab"_s, u"ISBNISSN"_s, u"ISBN/ISSN"_s));
        c.columns.append(from(u"b"_s, u"Books_tab"_s, u"BookInputCode"_s));
        c.columns.append(from(u"b"_s, u"Books_tab"_s, u"TotalCount"_s));
        c.columns.append(from(u"b"_s, u"Books_tab"_s, u"LoanCount"_s));
        c.columns.append(remainCount(u"b"_s));
        v.append(c);
    }
    {
        // Outer joins: a loan stays visible even when a title, copy or reader
        // it names has been removed by hand.
        View l{u"LoanList_view"_s, {},
               u"FROM LoanList_tab l"
               " LEFT JOIN Books_tab b ON b.BookID = l.BookID"
               " LEFT JOIN Copies_tab c ON c.CopyID = l.CopyID"
               " LEFT JOIN Readers_tab r ON r.ReaderID = l.ReaderID"
               " LEFT JOIN ReaderCate_tab rc ON rc.ReaderCateID = r.ReaderCateID"_s,
               allOf(u"l"_s, u"LoanList_tab"_s)};
        l.columns += {
            from(u"b"_s, u"Books_tab"_s, u"BookName"_s, u"书刊名称"_s),
            from(u"b"_s, u"Books_tab"_s, u"BookInputCode"_s, u"书刊输入码"_s),
            from(u"b"_s, u"Books_tab"_s, u"BookType"_s, u"馆藏类型"_s),
            from(u"c"_s, u"Copies_tab"_s, u"BookBarCode"_s, u"书刊条码"_s),
            from(u"c"_s, u"Copies_tab"_s, u"BookCode"_s, u"索书号"_s),
            from(u"r"_s, u"Readers_tab"_s, u"ReaderName"_s, u"读者姓名"_s),
            from(u"r"_s, u"Readers_tab"_s, u"ReaderInputCode"_s, u"读者输入码"_s),
            from(u"r"_s, u"Readers_tab"_s, u"ReaderCode"_s, u"读者编码"_s),
            from(u"r"_s, u"Readers_tab"_s, u"CardID"_s, u"读者证卡"_s),
            from(u"r"_s, u"Readers_tab"_s, u"Sex"_s, u"性别"_s),
            from(u"r"_s, u"Readers_tab"_s, u"DeptName"_s, u"读者部门"_s),
            from(u"rc"_s, u"ReaderCate_tab"_s, u"ReaderCateName"_s, u"读者类别"_s),
        };
        v.append(l);
    }
    return v;
}

QList<Index> buildIndexes()
{
    const QString notBlank = u"%1 IS NOT NULL AND TRIM(%1) <> ''"_s;
    return {
        // Several workstations lend at once: a copy can be out only once.
        {u"LoanList_OpenCopy_ux"_s, u"LoanList_tab"_s, {u"CopyID"_s}, true, u"IsReturn = 0"_s},
        {u"LoanList_Reader_ix"_s, u"LoanList_tab"_s, {u"ReaderID"_s, u"IsReturn"_s}, false, {}},
        {u"LoanList_Book_ix"_s, u"LoanList_tab"_s, {u"BookID"_s}, false, {}},
        {u"LoanList_Copy_ix"_s, u"LoanList_tab"_s, {u"CopyID"_s}, false, {}},
        {u"LoanList_LoanDate_ix"_s, u"LoanList_tab"_s, {u"LoanDate"_s}, false, {}},
        {u"LoanList_Due_ix"_s, u"LoanList_tab"_s, {u"ShouldReturnDate"_s}, false, u"IsReturn = 0"_s},
        {u"Copies_BarCode_ux"_s, u"Copies_tab"_s, {u"BookBarCode"_s}, true, {}},
        {u"Copies_Book_ix"_s, u"Copies_tab"_s, {u"BookID"_s}, false, {}},
        {u"Books_Name_ix"_s, u"Books_tab"_s, {u"BookName"_s}, false, {}},
        {u"Books_ISBN_ix"_s, u"Books_tab"_s, {u"ISBNISSN"_s}, false, {}},
        {u"Books_CateCode_ix"_s, u"Books_tab"_s, {u"CateCode"_s}, false, {}},
        {u"Books_Publisher_ix"_s, u"Books_tab"_s, {u"Publisher"_s}, false, {}},
        {u"Readers_ReaderCode_ux"_s, u"Readers_tab"_s, {u"ReaderCode"_s}, true,
         notBlank.arg(u"ReaderCode"_s)},
        {u"Readers_CardID_ux"_s, u"Readers_tab"_s, {u"CardID"_s}, true,
         notBlank.arg(u"CardID"_s)},
        {u"Readers_Cate_ix"_s, u"Readers_tab"_s, {u"ReaderCateID"_s}, false, {}},
        {u"Readers_Name_ix"_s, u"Readers_tab"_s, {u"ReaderName"_s}, false, {}},
        // Login names compare without regard to letter case ("admin" is "Admin").
        {u"Users_UserCode_ux"_s, u"Users_tab"_s, {u"LOWER(UserCode)"_s}, true, {}},
        {u"Publishers_Name_ux"_s, u"Publishers_tab"_s, {u"PublisherName"_s}, true, {}},
        {u"BookCate_Code_ux"_s, u"BookCate_tab"_s, {u"BookCateCode"_s}, true, {}},
        {u"BookCate_Parent_ix"_s, u"BookCate_tab"_s, {u"BookCateParentID"_s}, false, {}},
        {u"ReaderCate_Name_ux"_s, u"ReaderCate_tab"_s, {u"ReaderCateName"_s}, true, {}},
        {u"Bylaw_Title_ux"_s, u"Bylaw_tab"_s, {u"BylawTitle"_s}, true, {}},
        {u"Items_Cate_ix"_s, u"Items_tab"_s, {u"ItemCate"_s, u"ItemCode"_s}, false, {}},
        {u"UserAccredit_User_ix"_s, u"UserAccredit_tab"_s, {u"UserID"_s, u"FunID"_s}, false, {}},
        {u"UserLog_Date_ix"_s, u"UserLog_tab"_s, {u"LogDate"_s}, false, {}},
        {u"Pictures_Join_ix"_s, u"Pictures_tab"_s, {u"PictureCate"_s, u"JoinID"_s}, false, {}},
    };
}

QList<FunctionInfo> buildFunctions()
{
    return {
        {11, u"书刊信息维护"_s}, {12, u"出版单位设置"_s}, {13, u"书刊类别设置"_s},
        {21, u"读者信息维护"_s}, {22, u"读者类别设置"_s}, {23, u"借阅规章制度"_s},
        {31, u"借书还书续借"_s}, {32, u"借阅记录查询"_s},
        {41, u"逾期记录查询"_s}, {42, u"借阅记录统计"_s},
        {51, u"数据字典维护"_s}, {52, u"用户授权设置"_s}, {53, u"操作日志管理"_s},
        {54, u"系统参数设置"_s}, {55, u"高级管理工具"_s},
    };
}

QList<SeedRow> buildSeedRows()
{
    QList<SeedRow> rows;
    int image = 0;
    for (const FunctionInfo &f : Functions()) {
        rows.append(SeedRow{u"UserFun_tab"_s, {
            {u"FunName"_s, f.caption},
            {u"FunKey"_s, f.code},
            {u"FunCode"_s, f.code},
            {u"FunCate"_s, f.category()},
            {u"IsUsed"_s, 1},
            {u"ImgIndex"_s, image++},
            {u"FunMemo"_s, QString(FunctionCategoryName(f.category()) + u" - "_s + f.caption)},
        }});
    }
    return rows;
}

} // namespace

const Column *Table::column(const QString &columnName) const
{
    for (const Column &c : columns)
        if (c.name.compare(columnName, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

QString Table::keyName() const
{
    for (const Column &c : columns)
        if (c.type == ColumnType::Key)
            return c.name;
    return {};
}

QList<Column> View::plainColumns() const
{
    QList<Column> out;
    for (const ViewColumn &vc : columns)
        out.append(vc.column);
    return out;
}

const QList<Table> &Tables()
{
    static const QList<Table> tables = buildTables();
    return tables;
}

const QList<View> &Views()
{
    static const QList<View> views = buildViews();
    return views;
}

const QList<Index> &Indexes()
{
    static const QList<Index> indexes = buildIndexes();
    return indexes;
}

const QList<SeedRow> &SeedRows()
{
    static const QList<SeedRow> rows = buildSeedRows();
    return rows;
}

const QList<FunctionInfo> &Functions()
{
    static const QList<FunctionInfo> functions = buildFunctions();
    return functions;
}

QString FunctionCategoryName(int category)
{
    static const QStringList names{u"书刊管理"_s, u"读者管理"_s, u"借阅管理"_s,
                                   u"查询统计"_s, u"系统维护"_s};
    return category >= 1 && category <= names.size() ? names.at(category - 1) : QString();
}

const Table *FindTable(const QString &name)
{
    for (const Table &t : Tables())
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

const View *FindView(const QString &name)
{
    for (const View &v : Views())
        if (v.name.compare(name, Qt::CaseInsensitive) == 0)
            return &v;
    return nullptr;
}

QList<Column> ColumnsOf(const QString &tableOrView)
{
    if (const Table *t = FindTable(tableOrView))
        return t->columns;
    if (const View *v = FindView(tableOrView))
        return v->plainColumns();
    return {};
}

} // namespace Schema
