#pragma once

// The rights editor of one member of staff (the current row of UserQuery):
// the function categories on the left, the user's open, operate and print
// rights per function on the right. The grid's check-box columns write a
// tick at once, by the rights row's key; it takes effect at the user's next
// login.

#include <QDialog>

class QStatusBar;
class QTreeWidget;
class QTreeWidgetItem;
class TDataGrid;

class TUserAccForm : public QDialog
{
    Q_OBJECT
public:
    // Opens the user's rights, creating a full set first when there is none
    // (TDbError when that fails: the editor does not open).
    explicit TUserAccForm(QWidget *parent = nullptr);
    ~TUserAccForm() override;

    QTreeWidget *CateTree = nullptr;
    TDataGrid *FunDataGrid = nullptr;
    QStatusBar *SBarMain = nullptr;

    // Shows the functions of the node's category (the root: all of them).
    void SelectCategory(int category);
    void done(int result) override;

private:
    void buildLayout();
    void buildTree();
};
