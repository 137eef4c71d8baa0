// The list form base, through a small list window built on it the way the
// function windows are: its grid, its actions and its SQL, nothing more.

#include "FormsFixture.h"

#include "data/DataSet.h"
#include "data/DbHelpers.h"
#include "forms/CustomColumnFrm.h"
#include "forms/DataGrid.h"
#include "forms/FatherFrm.h"
#include "forms/GridOutputFrm.h"
#include "forms/GridTitleHeader.h"
#include "forms/QLDBFilterFrm.h"
#include "shell/FunctionWindow.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The example descendant: a publisher list with add, modify, delete of the
// selected rows, find, column chooser and a management menu.
class TSamplePublishersForm : public TFatherForm
{
public:
    TSamplePublishersForm() : TFatherForm(u"PublishersForm"_s, u"出版单位设置"_s, u"Publisher.html"_s)
    {
        Grid = AddMainGrid(DM1->PublishersQuery);
        PublishersAdd = AddFunAction(u"PublishersAdd"_s, u"新增(&A)"_s, 0, rtOperate, [this] { ++adds; });
        PublishersMod = AddFunAction(u"PublishersMod"_s, u"修改(&M)"_s, 1, rtOperate, [this] { ++mods; });
        PublishersDel = AddFunAction(u"PublishersDel"_s, u"删除(&D)"_s, 2, rtOperate, [this] { deleteRows(); });
        AddFindAction(u"PublishersFind"_s, u"PublisherName;PublisherPlace"_s, DM1->PublishersBaseSQL);
        AddCustomColumnAction(u"PublishersCustomColumn"_s);
        PublishersManage = AddFunAction(u"PublishersManage"_s, u"管理工具"_s, 18, rtOperate, {},
                                        tpAfterOutput);
        auto *manage = new QMenu(this);
        manage->addAction(AddFunAction(u"PublishersGenInputCode"_s, u"生成输入码..."_s, 20, rtAlways,
                                       {}, tpNone));
        SetDropDownMenu(PublishersManage, manage);
        Grid->SetModifyAction(PublishersMod);
        SetRowActions({PublishersMod, PublishersDel});
        Grid->OpenSql(DM1->PublishersBaseSQL);
    }

    TDataGrid *Grid = nullptr;
    QAction *PublishersAdd = nullptr;
    QAction *PublishersMod = nullptr;
    QAction *PublishersDel = nullptr;
    QAction *PublishersManage = nullptr;
    int adds = 0;
    int mods = 0;
    int formCloses = 0;

protected:
    void FormClose() override { ++formCloses; }

private:
    // The selected rows, or the current one, in one statement.
    void deleteRows()
    {
        TDataSet *ds = Grid->DataSet();
        QList<TDataSet::TBookmark> marks = Grid->SelectedBookmarks();
        if (marks.isEmpty())
            marks.append(ds->Bookmark());
        if (!AskConfirm(u"确定要删除选中的 %1 个出版单位吗？"_s.arg(marks.size())))
            return;
        QStringList keys;
        for (TDataSet::TBookmark mark : marks) {
            ds->GotoBookmark(mark);
            keys.append(QString::number(ds->FieldByName(u"PublisherID"_s)->AsInteger()));
        }
        ds->Connection().Execute(u"DELETE FROM Publishers_tab WHERE PublisherID IN (%1)"_s.arg(keys.join(u',')));
        Grid->OpenSql(Grid->BaseSql());
    }
};

class FatherFormTest : public FormsDbTest
{
protected:
    void SetUp() override
    {
        FormsDbTest::SetUp();
        if (IsSkipped())
            return;
        for (const auto &[name, place] : QList<QPair<QString, QString>>{
                 {u"清华大学出版社"_s, u"北京"_s}, {u"人民邮电出版社"_s, u"北京"_s},
                 {u"上海译文出版社"_s, u"上海"_s}, {u"O'Reilly Media"_s, u"Sebastopol"_s},
                 {u"浙江大学出版社"_s, u"杭州"_s}})
            dm->DurEzeConn.ExecuteBound(
                u"INSERT INTO Publishers_tab (PublisherName, PublisherPlace) VALUES (?, ?)"_s,
                {name, place});
        form = std::make_unique<TSamplePublishersForm>();
    }
    void TearDown() override
    {
        form.reset();
        FormsDbTest::TearDown();
    }
    QStringList toolbarNames() const
    {
        QStringList names;
        for (QAction *a : form->TBarMain->actions())
            names.append(a->isSeparator() ? u"|"_s : a->objectName());
        return names;
    }

    std::unique_ptr<TSamplePublishersForm> form;
};

TEST_P(FatherFormTest, FrameActionsAndTags)
{
    EXPECT_EQ(form->windowTitle(), u"出版单位设置"_s);
    EXPECT_EQ(form->HelpKeyword(), u"Publisher.html"_s);
    EXPECT_EQ(toolbarNames(),
              (QStringList{u"PublishersAdd"_s, u"PublishersMod"_s, u"PublishersDel"_s, u"PublishersFind"_s,
                           u"PublishersCustomColumn"_s, u"ActionPrint"_s, u"ActionExport"_s,
                           u"PublishersManage"_s, u"|"_s, u"SystemExit"_s}));
    QStringList menus;
    for (QAction *top : form->MnuMain->actions()) {
        QStringList entries;
        for (QAction *a : top->menu()->actions())
            entries.append(a->isSeparator() ? u"-"_s : a->text());
        menus.append(top->text() + u": "_s + entries.join(u", "_s));
    }
    EXPECT_EQ(menus, (QStringList{u"系统(&S): 关闭(&C)"_s, u"工具(&T): 计算器(&C), 记事本(&N)"_s,
                                  u"帮助(&H): 用户手册, 公司网站(&W), -, 关于(&A)..."_s}));
    struct Tagged {
        QAction *action;
        int tag;
        QKeySequence shortcut;
        int image;
    };
    for (const Tagged &t : QList<Tagged>{
             {form->ToolsCalc, rtAlways, QKeySequence(u"Ctrl+F11"_s), 5},
             {form->SystemExit, rtAlways, QKeySequence(u"Alt+F4"_s), 14},
             {form->ToolsNote, rtAlways, QKeySequence(u"Ctrl+F12"_s), 21},
             {form->HelpBook, rtAlways, QKeySequence(u"F1"_s), 7},
             {form->HelpURL, rtAlways, QKeySequence(u"Ctrl+W"_s), 9},
             {form->HelpAbout, rtAlways, QKeySequence(u"Ctrl+A"_s), 8},
             {form->ActionPrint, rtPrint, {}, 6},
             {form->ActionExport, rtPrint, {}, 16},
             {form->PublishersMod, rtOperate, {}, 1},
             {form->findChild<QAction *>(u"PublishersFind"_s), rtAlways, {}, 3},
             {form->findChild<QAction *>(u"PublishersCustomColumn"_s), rtAlways, {}, 5}}) {
        SCOPED_TRACE(t.action->objectName().toStdString());
        EXPECT_EQ(RightTag(t.action), t.tag);
        EXPECT_EQ(t.action->shortcut(), t.shortcut);
        EXPECT_EQ(t.action->property("imageIndex").toInt(), t.image);
    }
    EXPECT_EQ(form->findChild<QAction *>(u"PublishersFind"_s)->text(), u"查询(&F)"_s);
    EXPECT_EQ(form->findChild<QAction *>(u"PublishersCustomColumn"_s)->text(), u"自定义列"_s);
    EXPECT_EQ(form->ToolsCalc->property("category").toString(), u"Tools"_s);
    EXPECT_EQ(form->SystemExit->property("category").toString(), u"System"_s);
    EXPECT_EQ(form->HelpAbout->property("category").toString(), u"Help"_s);
    EXPECT_EQ(form->FindFirstGrid(), form->Grid);
    EXPECT_EQ(form->StatusText(), u"共有记录：5 条"_s);
}

TEST_P(FatherFormTest, RightsHideTheirActionsAndTheGridRespectsThem)
{
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    HideTaggedActions(form.get(), PrintRightTag);
    QCoreApplication::processEvents();  // the toolbar lays itself out again
    EXPECT_FALSE(form->ToolButtonOf(form->ActionPrint)->isVisible());
    EXPECT_FALSE(form->ToolButtonOf(form->ActionExport)->isVisible());
    EXPECT_TRUE(form->ToolButtonOf(form->PublishersMod)->isVisible());
    EXPECT_TRUE(form->ToolButtonOf(form->SystemExit)->isVisible());

    TDataGrid *grid = form->Grid;
    const QRect r = grid->visualRect(grid->GridModel()->index(1, 0));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    EXPECT_EQ(form->mods, 1);

    HideTaggedActions(form.get(), OperateRightTag);
    QCoreApplication::processEvents();
    EXPECT_FALSE(form->ToolButtonOf(form->PublishersManage)->isVisible());  // and so its menu
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(form->mods, 1);
    // Moving through the rows enables nothing the rights took away.
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_FALSE(form->PublishersMod->isEnabled());
    EXPECT_TRUE(form->ToolsCalc->isEnabled());
}

TEST_P(FatherFormTest, ActionsFollowTheRows)
{
    EXPECT_TRUE(form->PublishersMod->isEnabled());
    form->Grid->OpenSql(DM1->PublishersBaseSQL + u" AND PublisherName = 'none'"_s);
    EXPECT_FALSE(form->PublishersMod->isEnabled());
    EXPECT_FALSE(form->PublishersDel->isEnabled());
    EXPECT_EQ(form->StatusText(), u"共有记录：0 条"_s);
    // Adding the first row and deleting the last one move them too.
    form->Grid->OpenSql(DM1->PublishersBaseSQL + u" AND PublisherName = '新华出版社'"_s);
    TDataSet *ds = form->Grid->DataSet();
    ds->Append();
    ds->FieldByName(u"PublisherName"_s)->SetValue(u"新华出版社"_s);
    ds->Post();
    EXPECT_TRUE(form->PublishersMod->isEnabled());
    EXPECT_EQ(form->StatusText(), u"共有记录：1 条"_s);
    ds->Delete();
    EXPECT_FALSE(form->PublishersMod->isEnabled());
    EXPECT_EQ(form->StatusText(), u"共有记录：0 条"_s);
    form->Grid->OpenSql(DM1->PublishersBaseSQL);
    EXPECT_TRUE(form->PublishersDel->isEnabled());

    // Deleting two selected rows: the list and its count follow.
    form->Grid->SelectRows({0, 3});
    TMessageRecorder messages(true);
    form->PublishersDel->trigger();
    EXPECT_EQ(messages.texts(), QStringList{u"确定要删除选中的 2 个出版单位吗？"_s});
    EXPECT_EQ(form->StatusText(), u"共有记录：3 条"_s);
    EXPECT_EQ(GetSingleValue(u"SELECT COUNT(*) FROM Publishers_tab WHERE PublisherName IN "
                             "('清华大学出版社', 'O''Reilly Media')"_s),
              u"0"_s);
}

TEST_P(FatherFormTest, FindRunsTheQueryBuilderOnTheWindowsQuery)
{
    TModalAnswer answer([](QDialog &d) {
        auto &f = dynamic_cast<TQLDBFilterForm &>(d);
        EXPECT_EQ(f.cbFields->count(), 2);
        f.cbFields->setCurrentIndex(f.cbFields->findText(u"出版地"_s));
        f.edtValue->setText(u"北京"_s);
        f.AddToList();
        f.btnOK->click();
        return f.result();
    });
    form->findChild<QAction *>(u"PublishersFind"_s)->trigger();
    EXPECT_EQ(form->Grid->DataSet()->SQL(),
              DM1->PublishersBaseSQL + u" AND (PublisherPlace LIKE '%北京%')"_s);
    EXPECT_EQ(form->StatusText(), u"共有记录：2 条"_s);
}

// A find joined by OR stays within the filter row's condition.
TEST_P(FatherFormTest, FindWithOrAndTheFilterRow)
{
    TModalAnswer answer([](QDialog &d) {
        auto &f = dynamic_cast<TQLDBFilterForm &>(d);
        f.cbFields->setCurrentIndex(f.cbFields->findText(u"出版地"_s));
        f.edtValue->setText(u"北京"_s);
        f.AddToList();
        f.rbOr->setChecked(true);
        f.edtValue->setText(u"上海"_s);
        f.AddToList();
        f.btnOK->click();
        return f.result();
    });
    form->findChild<QAction *>(u"PublishersFind"_s)->trigger();
    EXPECT_EQ(form->StatusText(), u"共有记录：3 条"_s);
    form->Grid->SetFilterText(u"PublisherName"_s, u"人民"_s);
    ASSERT_TRUE(form->Grid->ApplyFilterRow());
    EXPECT_EQ(form->StatusText(), u"共有记录：1 条"_s);
}

TEST_P(FatherFormTest, PrintAndExportWorkOnTheFirstGrid)
{
    QStringList pages;
    TModalAnswer answer([&](QDialog &d) {
        auto &f = dynamic_cast<TGridOutputForm &>(d);
        EXPECT_EQ(f.EditTitle->text(), u"出版单位设置"_s);
        pages.append(f.MainPage->currentWidget()->objectName());
        return int(QDialog::Rejected);
    });
    form->ActionPrint->trigger();
    form->ActionExport->trigger();
    EXPECT_EQ(pages, (QStringList{u"TabPrint"_s, u"TabExport"_s}));

    // A window without a grid prints nothing.
    TFatherForm bare(u"BylawForm"_s, u"借阅规章制度"_s, u"Bylaw.html"_s);
    bare.ActionPrint->trigger();
    EXPECT_EQ(pages.size(), 2);
}

TEST_P(FatherFormTest, MaximizedByNameAndClosedQueries)
{
    for (const QString &name : {u"ReadersForm"_s, u"LoanListForm"_s, u"ExceedForm"_s, u"UserLogForm"_s})
        EXPECT_TRUE(TFatherForm(name, name, {}).windowState() & Qt::WindowMaximized) << name.toStdString();
    EXPECT_FALSE(TFatherForm(u"BookCateForm"_s, u"书刊类别设置"_s, {}).windowState() & Qt::WindowMaximized);
    EXPECT_FALSE(TFatherForm(u"readersform"_s, {}, {}).windowState() & Qt::WindowMaximized);

    form->show();
    EXPECT_TRUE(DM1->PublishersQuery->Active());
    // Esc in the grid or the filter row does not close the window.
    QTest::keyClick(form->Grid, Qt::Key_Escape);
    QTest::keyClick(form->Grid->TitleHeader()->FilterEditor(0), Qt::Key_Escape);
    EXPECT_TRUE(form->isVisible());
    form->SystemExit->trigger();
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(DM1->PublishersQuery->Active());
    EXPECT_EQ(form->formCloses, 1);
    // A window freed without being shown gives its query back too, and a
    // row left in edit state is dropped, not written.
    form = std::make_unique<TSamplePublishersForm>();
    DM1->PublishersQuery->Edit();
    DM1->PublishersQuery->FieldByName(u"PublisherName"_s)->SetValue(u"改了没存"_s);
    form.reset();
    EXPECT_FALSE(DM1->PublishersQuery->Active());
    EXPECT_EQ(GetSingleValue(u"SELECT COUNT(*) FROM Publishers_tab WHERE PublisherName = '改了没存'"_s),
              u"0"_s);
}

TEST_P(FatherFormTest, DropDownButtonShowsItsTriangle)
{
    EXPECT_EQ(DropDownTriangle(QRect(0, 0, 40, 36)), QPolygon({{30, 13}, {34, 13}, {32, 15}}));
    EXPECT_EQ(DropDownTriangle(QRect(10, 5, 57, 40)), QPolygon({{52, 20}, {56, 20}, {54, 22}}));
    QToolButton *manage = form->ToolButtonOf(form->PublishersManage);
    EXPECT_EQ(manage->popupMode(), QToolButton::InstantPopup);
    ASSERT_NE(form->PublishersManage->menu(), nullptr);
    EXPECT_EQ(form->PublishersManage->menu()->actions().constFirst()->objectName(),
              u"PublishersGenInputCode"_s);
    // The triangle is painted in the window-text colour.
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    const QImage image = manage->grab().toImage();
    const QPoint tip = DropDownTriangle(manage->rect()).at(0) + QPoint(2, 1);
    EXPECT_EQ(image.pixelColor(tip * image.devicePixelRatio()), manage->palette().color(QPalette::WindowText));
}

// A main grid beside a category list: placed in the window's splitter,
// without record count, filter row or title sorting, and still the grid
// that is printed and whose query closes with the window.
TEST_P(FatherFormTest, MainGridOptionsPlaceItBesideAList)
{
    TFatherForm window(u"DataDictForm"_s, u"数据字典维护"_s, {});
    auto *split = new QSplitter(&window);
    new QListWidget(split);
    window.BodyLayout()->addWidget(split);
    TDataGrid *grid = window.AddMainGrid(DM1->PublishersQuery, u"DictGrid"_s,
                                         {.container = split, .recordCount = false, .filterRow = false,
                                          .titleSort = false});
    const QString sql = DM1->PublishersBaseSQL + u" ORDER BY PublisherID"_s;
    grid->OpenSql(sql);
    EXPECT_EQ(split->indexOf(grid), 1);
    EXPECT_EQ(window.FindFirstGrid(), grid);
    EXPECT_TRUE(window.StatusText().isEmpty());
    EXPECT_FALSE(grid->FilterRowVisible());
    grid->ClickTitle(grid->ColumnOf(u"PublisherName"_s), Qt::NoModifier);
    EXPECT_TRUE(grid->SortColumns().isEmpty());
    EXPECT_EQ(DM1->PublishersQuery->SQL(), sql);
    window.show();
    window.SystemExit->trigger();
    EXPECT_FALSE(DM1->PublishersQuery->Active());
}

INSTANTIATE_TEST_SUITE_P(BothKinds, FatherFormTest, BothKinds, KindName);

} // namespace
