#include "FatherFrm.h"

#include "CustomColumnFrm.h"
#include "DataGrid.h"
#include "GridFindFrm.h"
#include "GridOutputFrm.h"
#include "ImageList.h"
#include "QLDBFlt.h"

#include "data/DataSet.h"
#include "data/Guard.h"
#include "shell/AboutFrm.h"
#include "shell/Actions.h"
#include "shell/FunctionWindow.h"
#include "shell/ShellHelpers.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QObject *actionList(QObject *parent, const QString &name)
{
    auto *list = new QObject(parent);
    list->setObjectName(name);
    return list;
}

} // namespace

static_assert(rtOperate == OperateRightTag && rtPrint == PrintRightTag);

void SetRightTag(QAction *action, int tag)
{
    action->setProperty(RightTagProperty, tag);
}

int RightTag(const QAction *action)
{
    return action->property(RightTagProperty).toInt();
}

QString RecordCountText(int count)
{
    return u"共有记录：%1 条"_s.arg(count);
}

QPolygon DropDownTriangle(const QRect &button)
{
    const int x = button.left() + (button.width() / 4) * 3;
    const int y = button.top() + button.height() / 2 - 5;
    return QPolygon({QPoint(x, y), QPoint(x + 4, y), QPoint(x + 2, y + 2)});
}

TFatherForm::TFatherForm(const QString &name, const QString &caption, const QString &helpKeyword,
                         QWidget *parent)
    : QDialog(parent), m_helpKeyword(helpKeyword)
{
    setObjectName(name);
    setWindowTitle(caption);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    resize(760, 520);

    SBarMain = new QStatusBar(this);
    SBarMain->setObjectName(u"SBarMain"_s);
    SBarMain->setSizeGripEnabled(false);
    SBarText = new QLabel(SBarMain);
    SBarText->setObjectName(u"SBarText"_s);
    SBarMain->addWidget(SBarText, 1);
    CBarMain = new QWidget(this);
    CBarMain->setObjectName(u"CBarMain"_s);
    TBarMain = new QToolBar(CBarMain);
    TBarMain->setObjectName(u"TBarMain"_s);
    MnuMain = new QMenuBar(this);
    MnuMain->setObjectName(u"MnuMain"_s);
    ActionListComm = actionList(this, u"ActionListComm"_s);
    MainActions = actionList(this, u"MainActions"_s);
    ActionFun = actionList(this, u"ActionFun"_s);

    createActions();
    createMenu();
    createToolbar();

    auto *bands = new QHBoxLayout(CBarMain);
    bands->setContentsMargins(0, 0, 0, 0);
    bands->addWidget(TBarMain);
    bands->addStretch();
    m_body = new QVBoxLayout;
    m_body->setContentsMargins(4, 0, 4, 0);
    auto *main = new QVBoxLayout(this);
    main->setContentsMargins(0, 0, 0, 0);
    main->setSpacing(2);
    main->setMenuBar(MnuMain);
    main->addWidget(CBarMain);
    main->addLayout(m_body, 1);
    main->addWidget(SBarMain);

    if (MaximizedWindowNames().contains(name))
        setWindowState(windowState() | Qt::WindowMaximized);
}

TFatherForm::~TFatherForm()
{
    // A window freed without having been closed still gives its queries back.
    if (!m_closed)
        closeDataSets();
}

const QStringList &TFatherForm::MaximizedWindowNames()
{
    static const QStringList names{u"ReadersForm"_s, u"LoanListForm"_s, u"ExceedForm"_s,
                                   u"UserLogForm"_s};
    return names;
}

QAction *TFatherForm::newAction(QObject *list, const QString &name, const QString &caption,
                                const QKeySequence &shortcut, int image, int rightTag,
                                const QString &category)
{
    auto *action = new QAction(caption, list);
    action->setObjectName(name);
    if (!category.isEmpty())
        action->setProperty("category", category);
    action->setShortcut(shortcut);
    action->setIcon(ImgList16(image));
    action->setProperty("imageIndex", image);
    SetRightTag(action, rightTag);
    addAction(action);  // its shortcut works wherever the window has the focus
    return action;
}

void TFatherForm::createActions()
{
    const QString tools = u"Tools"_s, system = u"System"_s, help = u"Help"_s;
    ToolsCalc = newAction(ActionListComm, u"ToolsCalc"_s, u"计算器(&C)"_s,
                          QKeySequence(Qt::CTRL | Qt::Key_F11), 5, rtAlways, tools);
    SystemExit = newAction(ActionListComm, u"SystemExit"_s, u"关闭(&C)"_s,
                           QKeySequence(Qt::ALT | Qt::Key_F4), 14, rtAlways, system);
    ToolsNote = newAction(ActionListComm, u"ToolsNote"_s, u"记事本(&N)"_s,
                          QKeySequence(Qt::CTRL | Qt::Key_F12), 21, rtAlways, tools);
    HelpBook = newAction(ActionListComm, u"HelpBook"_s, u"用户手册"_s, QKeySequence(Qt::Key_F1), 7,
                         rtAlways, help);
    HelpURL = newAction(ActionListComm, u"HelpURL"_s, u"公司网站(&W)"_s,
                        QKeySequence(Qt::CTRL | Qt::Key_W), 9, rtAlways, help);
    HelpAbout = newAction(ActionListComm, u"HelpAbout"_s, u"关于(&A)..."_s,
                          QKeySequence(Qt::CTRL | Qt::Key_A), 8, rtAlways, help);
    ActionPrint = newAction(MainActions, u"ActionPrint"_s, u"打印(&P)"_s, {}, 6, rtPrint);
    ActionExport = newAction(MainActions, u"ActionExport"_s, u"导出(&E)"_s, {}, 16, rtPrint);

    OnTriggered(ToolsCalc, [this] { ToolsExecute(ToolsCalc); });
    OnTriggered(ToolsNote, [this] { ToolsExecute(ToolsNote); });
    OnTriggered(SystemExit, [this] { SystemExitExecute(); });
    OnTriggered(HelpBook, [this] { HelpBookExecute(); });
    OnTriggered(HelpURL, [this] { HelpURLExecute(); });
    OnTriggered(HelpAbout, [this] { HelpAboutExecute(); });
    OnTriggered(ActionPrint, [this] { ActionPrintExecute(); });
    OnTriggered(ActionExport, [this] { ActionExportExecute(); });
}

void TFatherForm::createMenu()
{
    QMenu *system = MnuMain->addMenu(u"系统(&S)"_s);
    system->addAction(SystemExit);
    QMenu *tools = MnuMain->addMenu(u"工具(&T)"_s);
    tools->addAction(ToolsCalc);
    tools->addAction(ToolsNote);
    QMenu *help = MnuMain->addMenu(u"帮助(&H)"_s);
    help->addAction(HelpBook);
    help->addAction(HelpURL);
    help->addSeparator();
    help->addAction(HelpAbout);
}

void TFatherForm::createToolbar()
{
    TBarMain->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    TBarMain->setIconSize(QSize(16, 16));
    TBarMain->setMovable(false);
    TBarMain->addAction(ActionPrint);
    TBarMain->addAction(ActionExport);
    m_outputSeparator = TBarMain->addSeparator();
    TBarMain->addAction(SystemExit);
}

QAction *TFatherForm::AddFunAction(const QString &name, const QString &caption, int image,
                                   int rightTag, const std::function<void()> &handler,
                                   TToolPlace place, const QKeySequence &shortcut)
{
    QAction *action = newAction(ActionFun, name, caption, shortcut, image, rightTag);
    if (handler)
        OnTriggered(action, handler);
    if (place == tpBeforeOutput)
        TBarMain->insertAction(ActionPrint, action);
    else if (place == tpAfterOutput)
        TBarMain->insertAction(m_outputSeparator, action);
    return action;
}

QToolButton *TFatherForm::ToolButtonOf(QAction *action) const
{
    return qobject_cast<QToolButton *>(TBarMain->widgetForAction(action));
}

void TFatherForm::SetDropDownMenu(QAction *action, QMenu *menu)
{
    action->setMenu(menu);
    QToolButton *button = ToolButtonOf(action);
    if (!button)
        return;
    button->setPopupMode(QToolButton::InstantPopup);
    // The style's own arrow gives way to the small triangle drawn here.
    button->setStyleSheet(u"QToolButton::menu-indicator { image: none; width: 0px; }"_s);
    if (!m_dropDownButtons.contains(button)) {
        m_dropDownButtons.append(button);
        button->installEventFilter(this);
    }
}

bool TFatherForm::eventFilter(QObject *watched, QEvent *event)
{
    auto *button = qobject_cast<QToolButton *>(watched);
    if (event->type() != QEvent::Paint || !button || !m_dropDownButtons.contains(button))
        return QDialog::eventFilter(watched, event);
    // Let the button paint itself, then add the triangle on top.
    button->removeEventFilter(this);
    QCoreApplication::sendEvent(button, event);
    button->installEventFilter(this);
    QPainter p(button);
    TBarMainAdvancedCustomDrawButton(button, p);
    return true;
}

void TFatherForm::TBarMainAdvancedCustomDrawButton(QToolButton *button, QPainter &painter)
{
    const bool hasMenu = button && (button->menu()
                                    || (button->defaultAction() && button->defaultAction()->menu()));
    if (!hasMenu)
        return;  // a button without a menu is drawn as the style draws it
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(button->palette().color(QPalette::WindowText));
    painter.drawPolygon(DropDownTriangle(button->rect()));
    painter.restore();
}

void TFatherForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFatherForm::AddBand(QWidget *band)
{
    auto *bands = static_cast<QHBoxLayout *>(CBarMain->layout());
    bands->insertWidget(bands->count() - 1, band);
}

TDataGrid *TFatherForm::AddMainGrid(TDataSet *dataSet, const QString &name)
{
    return AddMainGrid(dataSet, name, TMainGridOptions());
}

TDataGrid *TFatherForm::AddMainGrid(TDataSet *dataSet, const QString &name,
                                    const TMainGridOptions &options)
{
    auto *grid = new TDataGrid(dataSet, this);
    grid->setObjectName(name);
    if (auto *splitter = qobject_cast<QSplitter *>(options.container))
        splitter->addWidget(grid);
    else if (options.container && options.container->layout())
        options.container->layout()->addWidget(grid);
    else if (options.container)
        grid->setParent(options.container);
    else
        m_body->addWidget(grid);
    grid->SetFilterRowVisible(options.filterRow);
    grid->SetTitleSortEnabled(options.titleSort);
    if (options.recordCount)
        FollowRecordCount(dataSet);
    CloseOnExit(dataSet);
    connect(grid, &TDataGrid::SelectionChanged, this, [this] { refreshActions(); });
    for (auto signal : {&TDataSet::RowsReset, &TDataSet::Opened, &TDataSet::Closed})
        connect(dataSet, signal, this, [this] { refreshActions(); });
    // Adding the first row or deleting the last changes what may be done.
    for (auto signal : {&TDataSet::RowInserted, &TDataSet::RowRemoved})
        connect(dataSet, signal, this, [this] { refreshActions(); });
    return grid;
}

void TFatherForm::FollowRecordCount(TDataSet *dataSet)
{
    const auto show = [this, dataSet] { SBarText->setText(RecordCountText(dataSet->RecordCount())); };
    for (auto signal : {&TDataSet::RowsReset, &TDataSet::Opened, &TDataSet::Closed, &TDataSet::RowsChanged})
        connect(dataSet, signal, this, show);
    for (auto signal : {&TDataSet::RowInserted, &TDataSet::RowRemoved})
        connect(dataSet, signal, this, show);
    show();
}

void TFatherForm::CloseOnExit(TDataSet *dataSet)
{
    m_closeOnExit.append(dataSet);
}

void TFatherForm::closeDataSets()
{
    for (const QPointer<TDataSet> &ds : std::as_const(m_closeOnExit)) {
        if (!ds || !ds->Active())
            continue;
        if (ds->State() == TDataSetState::Edit || ds->State() == TDataSetState::Insert)
            ds->Cancel();
        ds->Close();
    }
}

void TFatherForm::done(int result)
{
    if (!m_closed) {
        m_closed = true;
        RunGuarded([this] { FormClose(); });
        closeDataSets();
    }
    QDialog::done(result);
}

TDataGrid *TFatherForm::FindFirstGrid() const
{
    const QList<TDataGrid *> grids = findChildren<TDataGrid *>();
    return grids.isEmpty() ? nullptr : grids.constFirst();
}

QString TFatherForm::StatusText() const
{
    return SBarText->text();
}

void TFatherForm::EnableAction(QAction *action, bool enabled)
{
    action->setEnabled(enabled && !IsRightHidden(action));
}

void TFatherForm::SetRowActions(const QList<QAction *> &actions)
{
    m_rowActions = actions;
    refreshActions();
}

void TFatherForm::refreshActions()
{
    const TDataGrid *grid = FindFirstGrid();
    TDataSet *rows = grid ? grid->DataSet() : nullptr;
    const bool any = rows && rows->Active() && !rows->IsEmpty();
    for (QAction *action : std::as_const(m_rowActions))
        EnableAction(action, any);
    UpdateActions();
}

QAction *TFatherForm::AddFindAction(const QString &name, const QString &filterFields,
                                    const QString &baseSql, const QString &joiner)
{
    return AddFunAction(name, u"查询(&F)"_s, 3, rtAlways, [this, filterFields, baseSql, joiner] {
        RunQueryBuilder(filterFields, baseSql, joiner);
    });
}

QAction *TFatherForm::AddCustomColumnAction(const QString &name)
{
    return AddFunAction(name, u"自定义列"_s, 5, rtAlways, [this] { ChooseGridColumns(FindFirstGrid()); });
}

QAction *TFatherForm::AddFindTextAction(const QString &name, TToolPlace place)
{
    return AddFunAction(name, u"查找文本..."_s, 4, rtAlways,
                        [this] { ShowGridFindDialog(FindFirstGrid()); }, place,
                        QKeySequence(Qt::CTRL | Qt::Key_F));
}

TGridFindForm *TFatherForm::ShowGridFindDialog(TDataGrid *grid)
{
    return ::ShowGridFindDialog(grid);
}

bool TFatherForm::RunQueryBuilder(const QString &filterFields, const QString &baseSql,
                                  const QString &joiner)
{
    TDataGrid *grid = FindFirstGrid();
    if (!grid || !grid->DataSet())
        return false;
    TQLDBFilterDialog *builder = QueryBuilder();
    builder->SetDataSet(grid->DataSet());
    builder->Conditions.clear();
    builder->SetFilterFields(filterFields);
    if (!builder->Execute(this))
        return false;
    // In brackets: a condition joined by OR must not reach past the filter
    // row's own condition on the same line.
    grid->OpenSql(baseSql + joiner + u'(' + builder->BuildFilter() + u')');
    return true;
}

void TFatherForm::ActionPrintExecute()
{
    if (TDataGrid *grid = FindFirstGrid())
        ShowGridOutput(grid, gomPrint, windowTitle(), QString());
}

void TFatherForm::ActionExportExecute()
{
    if (TDataGrid *grid = FindFirstGrid())
        ShowGridOutput(grid, gomExport, windowTitle(), QString());
}

void TFatherForm::ToolsExecute(QAction *sender)
{
    if (sender == ToolsCalc)
        RunProgram(u"calc.exe"_s);
    else if (sender == ToolsNote)
        RunProgram(u"notepad.exe"_s);
}

void TFatherForm::SystemExitExecute()
{
    close();
}

void TFatherForm::HelpBookExecute()
{
    ShowHelpTopic(m_helpKeyword);
}

void TFatherForm::HelpURLExecute()
{
    OpenWebSite();
}

void TFatherForm::HelpAboutExecute()
{
    ShowAbout();
}
