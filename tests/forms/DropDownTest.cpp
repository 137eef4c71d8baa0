// The drop-down lookup: where it opens at the screen's edges, the single-row
// pick that shows nothing, and its keys.

#include "FormsFixture.h"

#include "data/DataSet.h"
#include "forms/DataGrid.h"
#include "forms/DropDownFrm.h"
#include "forms/DropDownPlacement.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

TEST(PlaceDropDown, KeepsTheListOnTheScreen)
{
    const QRect work(0, 0, 1280, 984);  // a 1280x1024 screen with a 40-pixel task bar
    const QSize size(398, 223);
    struct Case {
        const char *what;
        QRect workArea;
        QPoint editPos;
        int editHeight;
        QRect expected;
    };
    const QList<Case> cases{
        {"under the box", work, {100, 200}, 21, {98, 222, 398, 223}},
        {"near the right edge: shifted left", work, {1100, 200}, 21, {1280 - 398 - 2, 222, 398, 223}},
        {"near the bottom: above the box", work, {100, 900}, 21, {98, 900 - 223, 398, 223}},
        {"low, but more room below: below, cut at the bottom", {0, 0, 1280, 400}, {100, 180}, 21,
         {98, 202, 398, 400 - 202}},
        {"near the left edge of a second screen", {1280, 0, 1024, 768}, {1200, 100}, 21,
         {1278, 122, 398, 223}},
        {"wider than the screen", {0, 0, 300, 600}, {50, 100}, 21, {-2, 122, 300, 223}},
        {"above the box, cut at the top", {0, 0, 800, 300}, {10, 200}, 21, {8, 0, 398, 200}},
        {"work area below a top panel", {0, 30, 1280, 954}, {100, 40}, 21, {98, 62, 398, 223}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(PlaceDropDown(c.workArea, c.editPos, c.editHeight, size), c.expected) << c.what;
}

using DropDownTest = FormsDbTest;

TEST_P(DropDownTest, SingleRowIsTakenWithoutShowing)
{
    QLineEdit edit;
    TDataSet *query = dm->BookFindQuery;
    query->SetSQL(u"SELECT * FROM Books_view WHERE BookName LIKE '%结构%'"_s);
    // No window may show: the test main fails any modal window nobody answers.
    EXPECT_TRUE(PickFromDropDown(&edit, query, true));
    EXPECT_EQ(query->FieldByName(u"BookName"_s)->AsString(), u"数据结构"_s);

    // Without the flag the list shows even for one row; Enter picks it.
    int shown = 0;
    TModalAnswer answer([&](QDialog &d) {
        ++shown;
        auto &form = dynamic_cast<TDropDownForm &>(d);
        EXPECT_EQ(form.DataGrid->DataSet(), query);
        EXPECT_EQ(form.DataGrid->GridModel()->rowCount(), 1);
        QTest::keyClick(form.DataGrid, Qt::Key_Return);
        return form.result();
    });
    EXPECT_TRUE(PickFromDropDown(&edit, query, false));
    EXPECT_EQ(shown, 1);
}

TEST_P(DropDownTest, PicksTheChosenRowAndEscKeepsEverything)
{
    QLineEdit edit;
    edit.setText(u"计算机"_s);
    edit.move(100, 100);
    edit.show();
    TDataSet *query = dm->BookFindQuery;
    query->SetSQL(u"SELECT * FROM Books_view WHERE BookName LIKE '%计算机%'"_s);
    {
        TModalAnswer answer([&](QDialog &d) {
            auto &form = dynamic_cast<TDropDownForm &>(d);
            EXPECT_EQ(form.DataGrid->GridModel()->rowCount(), 2);
            // It opens under the box.
            EXPECT_EQ(form.geometry().top(), edit.mapToGlobal(QPoint(0, 0)).y() + edit.height() + 1);
            form.show();
            QTest::keyClick(form.DataGrid, Qt::Key_Down);
            QTest::keyClick(form.DataGrid, Qt::Key_Return);
            return form.result();
        });
        // Several rows are shown even with the single-row flag.
        EXPECT_TRUE(PickFromDropDown(&edit, query, true));
    }
    EXPECT_EQ(query->FieldByName(u"BookName"_s)->AsString(), u"计算机网络"_s);

    // Enter on an empty list does nothing; Esc closes it without a pick.
    query->SetSQL(u"SELECT * FROM Books_view WHERE BookName = 'x'"_s);
    TModalAnswer answer([&](QDialog &d) {
        auto &form = dynamic_cast<TDropDownForm &>(d);
        form.show();
        QTest::keyClick(form.DataGrid, Qt::Key_Return);
        EXPECT_TRUE(form.isVisible());
        QTest::keyClick(form.DataGrid, Qt::Key_Escape);
        EXPECT_FALSE(form.isVisible());
        return form.result();
    });
    EXPECT_FALSE(PickFromDropDown(&edit, query, true));
    EXPECT_EQ(edit.text(), u"计算机"_s);
}

TEST_P(DropDownTest, ClickingAnotherWindowClosesItWithoutAPick)
{
    QWidget other;
    other.resize(300, 200);
    other.move(600, 500);
    other.show();
    QLineEdit edit;
    edit.move(100, 100);
    edit.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    TDataSet *query = dm->BookFindQuery;
    query->SetSQL(u"SELECT * FROM Books_view WHERE BookName LIKE '%计算机%'"_s);
    bool closed = false;
    TModalAnswer answer([&](QDialog &d) {
        auto &form = dynamic_cast<TDropDownForm &>(d);
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
        QTest::keyClick(form.DataGrid, Qt::Key_Down);  // a row is current, yet not picked
        // A click that lands in another window, as the window system delivers it.
        QTest::mouseClick(other.windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
        closed = !form.isVisible();
        return form.result();
    });
    EXPECT_FALSE(PickFromDropDown(&edit, query, false));
    EXPECT_TRUE(closed);
}

INSTANTIATE_TEST_SUITE_P(BothKinds, DropDownTest, BothKinds, KindName);

} // namespace
