#pragma once

// TFatherForm: the frame every function window shares — menu, toolbar,
// status bar, the common tools and help actions, printing and exporting the
// window's grid, and the right tags by which the main window switches
// actions off (the QAction property "rightTag": 0 always, 1 operate,
// 2 print).
//
// A descendant needs little more than its grid, its actions and its SQL:
//
//     TPublishersForm() : TFatherForm(u"PublishersForm"_s, u"出版单位设置"_s, u"Publisher.html"_s)
//     {
//         Grid = AddMainGrid(DM1->PublishersQuery);
//         PublishersMod = AddFunAction(u"PublishersMod"_s, u"修改(&M)"_s, 1, rtOperate,
//                                      [this] { ... });
//         Grid->SetModifyAction(PublishersMod);
//         AddFunAction(u"PublishersFind"_s, u"查询(&F)"_s, 3, rtAlways, [this] {
//             RunQueryBuilder(u"PublisherName;PublisherPlace"_s, DM1->PublishersBaseSQL);
//         });
//         Grid->OpenSql(DM1->PublishersBaseSQL);
//     }
//
// Its actions follow the selection in one place, UpdateActions(), which the
// frame calls whenever the main grid's rows or selection change.

#include <QDialog>
#include <QKeySequence>
#include <QList>
#include <QPointer>
#include <QPolygon>
#include <functional>

class QLabel;
class QMenu;
class QMenuBar;
class QStatusBar;
class QToolBar;
class QToolButton;
class QVBoxLayout;
class TDataGrid;
class TDataSet;

// The right an action needs, kept in its "rightTag" property (the main
// window's OpenFunctionWindow hides the actions whose right the user lacks).
enum TRightTag { rtAlways = 0, rtOperate = 1, rtPrint = 2 };
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
    QVBoxLayout *BodyLayout() const { return m_body; }
    // Writes "共有记录：%d 条" for the dataset after each of its changes.
    void FollowRecordCount(TDataSet *dataSet);
    // Closes the dataset when the window closes.
    void CloseOnExit(TDataSet *dataSet);

    // The find of every list window: the data module's query builder on the
    // main grid's dataset with these fields (names separated by ";"); on OK
    // the grid reopens on baseSql + " AND " + the condition. False on cancel.
    bool RunQueryBuilder(const QString &filterFields, const QString &baseSql);

    // Enables an action unless the user's rights took it away.
    static void EnableAction(QAction *action, bool enabled);

    void done(int result) override;

protected:
    // The one place where a window's actions follow its rows and selection.
    virtual void UpdateActions() {}

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createActions();
    void createMenu();
    void createToolbar();
    QAction *newAction(QObject *list, const QString &name, const QString &caption,
                       const QKeySequence &shortcut, int image, int rightTag);

    QString m_helpKeyword;
    QVBoxLayout *m_body = nullptr;
    QAction *m_outputSeparator = nullptr;  // the separator before SystemExit
    QList<QPointer<TDataSet>> m_closeOnExit;
    QList<QToolButton *> m_dropDownButtons;
};

// "共有记录：%d 条".
QString RecordCountText(int count);

// The small triangle of a toolbar button with a drop-down menu, in the
// button's own coordinates.
QPolygon DropDownTriangle(const QRect &button);
