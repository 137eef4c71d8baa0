#include "GridFindFrm.h"

#include "DataGrid.h"

#include "data/Messages.h"
#include "shell/Actions.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::StringLiterals;

TGridFindForm::TGridFindForm(TDataGrid *grid) : QDialog(grid->window()), m_grid(grid)
{
    setObjectName(u"GridFindForm"_s);
    setWindowTitle(u"查找文本"_s);
    setModal(false);

    EditFindText = new QLineEdit(this);
    EditFindText->setObjectName(u"EditFindText"_s);
    EditFindText->setMinimumWidth(260);
    CboFindField = new QComboBox(this);
    CboFindField->setObjectName(u"CboFindField"_s);
    CboMatch = new QComboBox(this);
    CboMatch->setObjectName(u"CboMatch"_s);
    CboMatch->addItems({u"单元格的任意部分"_s, u"整个单元格"_s, u"单元格的开头"_s});
    ChkCaseSensitive = new QCheckBox(u"区分大小写(&C)"_s, this);
    ChkCaseSensitive->setObjectName(u"ChkCaseSensitive"_s);
    RadDown = new QRadioButton(u"向下(&D)"_s, this);
    RadDown->setObjectName(u"RadDown"_s);
    RadDown->setChecked(true);
    RadUp = new QRadioButton(u"向上(&U)"_s, this);
    RadUp->setObjectName(u"RadUp"_s);
    BtnFindNext = new QPushButton(u"查找下一个(&F)"_s, this);
    BtnFindNext->setObjectName(u"BtnFindNext"_s);
    BtnFindNext->setDefault(true);
    BtnClose = new QPushButton(u"关闭"_s, this);
    BtnClose->setObjectName(u"BtnClose"_s);
    LblProgress = new QLabel(this);
    LblProgress->setObjectName(u"LblProgress"_s);

    auto *grid_ = new QGridLayout(this);
    const auto addRow = [&](int row, const QString &caption, QWidget *input) {
        auto *label = new QLabel(caption, this);
        label->setBuddy(input);
        grid_->addWidget(label, row, 0);
        grid_->addWidget(input, row, 1);
    };
    addRow(0, u"查找内容(&N)："_s, EditFindText);
    addRow(1, u"查找范围(&L)："_s, CboFindField);
    addRow(2, u"匹配(&H)："_s, CboMatch);
    auto *direction = new QGroupBox(u"方向"_s, this);
    auto *dirLayout = new QHBoxLayout(direction);
    dirLayout->addWidget(RadDown);
    dirLayout->addWidget(RadUp);
    grid_->addWidget(ChkCaseSensitive, 3, 1);
    grid_->addWidget(direction, 4, 0, 1, 2);
    grid_->addWidget(LblProgress, 5, 0, 1, 3);
    grid_->addWidget(BtnFindNext, 0, 2);
    grid_->addWidget(BtnClose, 1, 2);

    OnClicked(BtnFindNext, [this] { FindNext(); });
    connect(BtnClose, &QPushButton::clicked, this, [this] {
        if (m_searching)
            Stop();
        else
            close();
    });
    fillColumns();
}

void TGridFindForm::fillColumns()
{
    CboFindField->clear();
    CboFindField->addItem(u"全部列"_s, -1);
    if (!m_grid)
        return;
    for (int column : m_grid->VisualColumns())
        if (m_grid->ColumnVisible(column))
            CboFindField->addItem(m_grid->ColumnCaption(column), column);
}

void TGridFindForm::Reset()
{
    EditFindText->clear();
    fillColumns();
    CboFindField->setCurrentIndex(0);
}

TGridFindOptions TGridFindForm::Options() const
{
    TGridFindOptions o;
    o.Text = EditFindText->text();
    o.Match = static_cast<TGridFindMatch>(CboMatch->currentIndex());
    o.CaseSensitive = ChkCaseSensitive->isChecked();
    o.Forward = RadDown->isChecked();
    return o;
}

void TGridFindForm::reject()
{
    Stop();
    QDialog::reject();
}

bool TGridFindForm::searchGoesOn(int row, const QString &sql)
{
    LblProgress->setText(u"正在查找第 %1 行……"_s.arg(row + 1));
    QCoreApplication::processEvents();
    // The list may have been closed, reopened or sorted meanwhile.
    return !m_stop && m_grid && m_grid->DataSet() && m_grid->DataSet()->Active()
           && m_grid->DataSet()->SQL() == sql;
}

int TGridFindForm::search(const QList<int> &columns, bool *stopped)
{
    TDataSet *ds = m_grid->DataSet();
    TDataGridModel *model = m_grid->GridModel();
    const QString sql = ds->SQL();
    // The buttons say what they do while the search runs, and again after,
    // however it ends.
    struct TRunning {
        TGridFindForm *form;
        explicit TRunning(TGridFindForm *f) : form(f)
        {
            form->m_searching = true;
            form->m_stop = false;
            form->BtnFindNext->setEnabled(false);
            form->BtnClose->setText(u"停止(&S)"_s);
        }
        ~TRunning()
        {
            form->m_searching = false;
            form->BtnFindNext->setEnabled(true);
            form->BtnClose->setText(u"关闭"_s);
            form->LblProgress->clear();
        }
    } running(this);
    return FindGridText(
        model->rowCount(), columns, [model](int r, int c) { return model->CellText(r, c); },
        Options(), ds->RecNo(), [this, sql](int at) { return searchGoesOn(at, sql); }, stopped);
}

bool TGridFindForm::FindNext()
{
    if (m_searching || !m_grid || !m_grid->DataSet() || !m_grid->DataSet()->Active()
        || EditFindText->text().isEmpty())
        return false;
    QList<int> columns;
    const int chosen = CboFindField->currentData().toInt();
    if (chosen >= 0) {
        columns.append(chosen);
    } else {
        for (int column : m_grid->VisualColumns())
            if (m_grid->ColumnVisible(column))
                columns.append(column);
    }
    bool stopped = false;
    const int row = search(columns, &stopped);
    if (stopped)
        return false;
    if (row < 0) {
        ShowInfo(u"没有找到“%1”。"_s.arg(EditFindText->text()));
        return false;
    }
    m_grid->DataSet()->MoveTo(row);
    return true;
}

TGridFindForm *ShowGridFindDialog(TDataGrid *grid)
{
    if (!grid)
        return nullptr;
    TGridFindForm *form = nullptr;
    for (TGridFindForm *f : grid->window()->findChildren<TGridFindForm *>(Qt::FindDirectChildrenOnly))
        if (f->Grid() == grid)
            form = f;
    if (!form)
        form = new TGridFindForm(grid);
    form->Reset();
    form->show();
    form->raise();
    form->activateWindow();
    form->EditFindText->setFocus();
    return form;
}
