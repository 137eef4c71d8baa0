#pragma once

// TFatherForm: the frame every function window shares — menu, toolbar,
// status bar, the common tools and help actions, printing and exporting the
// window's grid, and the right tags by which the main window switches
// actions off (the QAction property "rightTag": 0 always, 1 operate,
// 2 print).
//
// How a list window is written. It needs little more than its grid, its
// actions and its SQL; the frame does the rest (menu, toolbar order, status
// bar count, print, export, rights, closing its query):
//
//     class TPublishersForm : public TFatherForm
//     {
//     public:
//         TPublishersForm()
//             : TFatherForm(u"PublishersForm"_s, u"出版单位设置"_s, u"Publisher.html"_s)
//         {
//             // 1. The main grid over the data module's query (declared first:
//             //    it is the one printed and exported).
//             Grid = AddMainGrid(DM1->PublishersQuery);
//             // 2. The window's own actions, in toolbar order, with their
//             //    right tags (rtOperate for anything that changes data).
//             PublishersAdd = AddFunAction(u"PublishersAdd"_s, u"新增(&A)"_s, 0, rtOperate,
//                                          [this] { RunEditor<TPublishersEditForm>(Grid->DataSet(), TEditMode::Append); });
//             PublishersMod = AddFunAction(u"PublishersMod"_s, u"修改(&M)"_s, 1, rtOperate,
//                                          [this] { RunEditor<TPublishersEditForm>(Grid->DataSet(), TEditMode::Edit); });
//             PublishersDel = AddFunAction(u"PublishersDel"_s, u"删除(&D)"_s, 2, rtOperate,
//                                          [this] { deleteSelected(); });
//             AddFindAction(u"PublishersFind"_s, u"PublisherName;PublisherPlace"_s,
//                           DM1->PublishersBaseSQL);
//             AddCustomColumnAction(u"PublishersCustomColumn"_s);
//             // 3. Double-click and Enter in the grid run the modify action.
//             Grid->SetModifyAction(PublishersMod);
//             // 4. The SQL: the base SELECT; the filter row and the title
//             //    sort work on it from here on.
//             Grid->OpenSql(DM1->PublishersBaseSQL);
//         }
//
//         TDataGrid *Grid = nullptr;
//         QAction *PublishersAdd = nullptr, *PublishersMod = nullptr, *PublishersDel = nullptr;
//     };
//
// and, after the actions, SetRowActions({PublishersMod, PublishersDel}):
// they are enabled only while the grid has rows. A window whose actions
// follow more than that overrides UpdateActions (EnableAction never gives
// back what the user's rights took).
//
// Editors derive from TEditorForm and open through RunEditor (both in
// EditorForm.h), which puts the query into insert or edit state, opens the
// editor with code -1 and cancels what was not saved.
//
// Optional pieces: Grid->SetFooterSum(field) / SetFooterText(field, text),
// Grid->SetFilterRowVisible(false), AddMainGrid with TMainGridOptions (the
// grid in a splitter beside a list, without record count, filter row or
// title sorting), Grid->SetCheckColumns for boolean columns the user ticks,
// AddFindTextAction (Ctrl+F, the grid's find-text dialog), SetDropDownMenu
// for a toolbar button with a menu, AddBand for a panel beside the toolbar,
// FormClose() for work when the window closes. Walk a multi-row selection
// with Grid->SelectedBookmarks() and DataSet()->GotoBookmark(). Register the
// window with its function code in shell/FunctionWindows.cpp;
// OpenFunctionWindow applies the rights.

#include <QDialog>
#include <QKeySequence>
#include <QList>
#include <QPointer>
#include <QPolygon>
#include <functional>

class QLabel;
class QPainter;
class QMenu;
class QMenuBar;
class QStatusBar;
class QToolBar;
class QToolButton;
class QVBoxLayout;
class TDataGrid;
class TDataSet;
class TGridFindForm;

// The right an action needs, kept in its "rightTag" property (the main
// window's OpenFunctionWindow hides the actions whose right the user lacks).
enum TRightTag { rtAlways = 0, rtOperate = 1, rtPrint = 2 };

// How TFatherForm::AddMainGrid sets up a window's main grid.
struct TMainGridOptions {
    // Where the grid goes: nullptr puts it in the window's body; otherwise
    // it is added to this container (a splitter, or a widget with a layout)
    // so that it can sit beside a category list.
    QWidget *container = nullptr;
    // Writes "共有记录：%d 条" into the status bar after each change.
    bool recordCount = true;
    // The filter row under the titles, and sorting by title clicks.
    bool filterRow = true;
    bool titleSort = true;
};

void SetRightTag(QAction *action, int tag);
int RightTag(const QAction *action);

class TFatherForm : public QDialog
{
    Q_OBJECT
public:
    // `name` is the window's component name ("PublishersForm"), `caption`
    // its title and `helpKeyword` its help topic.
    TFatherForm(const QString &name, const QString &caption, const QString &helpKeyword,
                QWidget *parent = nullptr);
    ~TFatherForm() override;

    QStatusBar *SBarMain = nullptr;
    QLabel *SBarText = nullptr;  // the status bar's one panel
    QWidget *CBarMain = nullptr;  // the bands above the body: the toolbar, and any a window adds
    QToolBar *TBarMain = nullptr;
    QMenuBar *MnuMain = nullptr;
    QObject *ActionListComm = nullptr;
    QObject *MainActions = nullptr;
    QObject *ActionFun = nullptr;  // the descendant's own actions

    QAction *ToolsCalc = nullptr;
    QAction *SystemExit = nullptr;
    QAction *ToolsNote = nullptr;
    QAction *HelpBook = nullptr;
    QAction *HelpURL = nullptr;
    QAction *HelpAbout = nullptr;
    QAction *ActionPrint = nullptr;
    QAction *ActionExport = nullptr;

    QString HelpKeyword() const { return m_helpKeyword; }
    // The first data grid of the window: the one printed and exported.
    TDataGrid *FindFirstGrid() const;
    QString StatusText() const;
    // The windows that open maximized.
    static const QStringList &MaximizedWindowNames();

    // The common handlers.
    void ActionPrintExecute();
    void ActionExportExecute();
    void ToolsExecute(QAction *sender);
    void SystemExitExecute();
    void HelpBookExecute();
    void HelpURLExecute();
    void HelpAboutExecute();
    // Paints a toolbar button that carries a drop-down menu: the button as
    // the style draws it, then the small triangle.
    void TBarMainAdvancedCustomDrawButton(QToolButton *button, QPainter &painter);

    // Where a descendant's action goes on the toolbar.
    enum TToolPlace { tpBeforeOutput, tpAfterOutput, tpNone };

    // A new action of the window in ActionFun, with its right tag, image of
    // the shared list and guarded handler (may be empty).
    QAction *AddFunAction(const QString &name, const QString &caption, int image, int rightTag,
                          const std::function<void()> &handler, TToolPlace place = tpBeforeOutput,
                          const QKeySequence &shortcut = {});
    // The action's toolbar button drops down the menu (and shows the small
    // triangle); a hidden action hides its button and so the menu.
    void SetDropDownMenu(QAction *action, QMenu *menu);
    QToolButton *ToolButtonOf(QAction *action) const;
    // A band beside the toolbar (the book list's search panel).
    void AddBand(QWidget *band);

    // The main grid over the dataset in the window's body: the status bar
    // follows its record count, UpdateActions follows its selection, and the
    // dataset is closed when the window closes.
    TDataGrid *AddMainGrid(TDataSet *dataSet, const QString &name = QStringLiteral("DBGridEh1"));
    // The same, placed and equipped as the options say.
    TDataGrid *AddMainGrid(TDataSet *dataSet, const QString &name, const TMainGridOptions &options);
    QVBoxLayout *BodyLayout() const { return m_body; }
    // Writes "共有记录：%d 条" for the dataset after each of its changes.
    void FollowRecordCount(TDataSet *dataSet);
    // Closes the dataset when the window closes.
    void CloseOnExit(TDataSet *dataSet);

    // The find of every list window: the data module's query builder on the
    // main grid's dataset with these fields (names separated by ";"); on OK
    // the grid reopens on baseSql + joiner + "(condition)". False on cancel.
    // (The user list, without a WHERE of its own, joins with " WHERE ".)
    bool RunQueryBuilder(const QString &filterFields, const QString &baseSql,
                         const QString &joiner = QStringLiteral(" AND "));

    // The usual actions of a list window, each in ActionFun and on the
    // toolbar: "查询(&F)" (image 3) runs RunQueryBuilder; "自定义列"
    // (image 5) the column chooser on the main grid; "查找文本..." (Ctrl+F,
    // image 4) the grid's find-text dialog. All need no right.
    QAction *AddFindAction(const QString &name, const QString &filterFields, const QString &baseSql,
                           const QString &joiner = QStringLiteral(" AND "));
    QAction *AddCustomColumnAction(const QString &name);
    QAction *AddFindTextAction(const QString &name, TToolPlace place = tpNone);

    // The find-text dialog on a grid: not modal, empty text, every column.
    TGridFindForm *ShowGridFindDialog(TDataGrid *grid);

    // Enables an action unless the user's rights took it away.
    static void EnableAction(QAction *action, bool enabled);
    // Actions on the current row (modify, delete...): enabled only while the
    // main grid has rows, before UpdateActions runs.
    void SetRowActions(const QList<QAction *> &actions);

    void done(int result) override;

protected:
    // The one place where a window's actions follow its rows and selection.
    virtual void UpdateActions() {}
    // Runs when the window closes, before the frame closes the datasets it
    // was given (AddMainGrid, CloseOnExit): close whatever else it opened.
    virtual void FormClose() {}

    bool eventFilter(QObject *watched, QEvent *event) override;
    // Esc does not close a function window (a dialog's habit): it closes
    // through SystemExit, Alt+F4 or its title bar only.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createActions();
    void createMenu();
    void createToolbar();
    void closeDataSets();
    QAction *newAction(QObject *list, const QString &name, const QString &caption,
                       const QKeySequence &shortcut, int image, int rightTag,
                       const QString &category = {});

    QString m_helpKeyword;
    QVBoxLayout *m_body = nullptr;
    QAction *m_outputSeparator = nullptr;  // the separator before SystemExit
    QList<QPointer<TDataSet>> m_closeOnExit;
    QList<QAction *> m_rowActions;

    void refreshActions();
    QList<QToolButton *> m_dropDownButtons;
    bool m_closed = false;
};

// "共有记录：%d 条".
QString RecordCountText(int count);

// The small triangle of a toolbar button with a drop-down menu, in the
// button's own coordinates.
QPolygon DropDownTriangle(const QRect &button);
