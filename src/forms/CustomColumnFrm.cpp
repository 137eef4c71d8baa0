#include "CustomColumnFrm.h"

#include "DataGrid.h"

#include "shell/ModalSeam.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TCustomColumnForm::TCustomColumnForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"CustomColumnForm"_s);
    setWindowTitle(u"自定义列"_s);
    ColumnsBox = new QListWidget(this);
    ColumnsBox->setObjectName(u"ColumnsBox"_s);
    ColumnsBox->setMinimumSize(220, 280);
    BtnSelectAll = new QPushButton(u"全选(&A)"_s, this);
    BtnSelectAll->setObjectName(u"BtnSelectAll"_s);
    BtnSelectAll->setAutoDefault(false);
    BtnOK = new QPushButton(u"确定(&O)"_s, this);
    BtnOK->setObjectName(u"BtnOK"_s);
    BtnOK->setDefault(true);
    BtnCancel = new QPushButton(u"取消(&C)"_s, this);
    BtnCancel->setObjectName(u"BtnCancel"_s);
    BtnCancel->setAutoDefault(false);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(BtnSelectAll);
    buttons->addStretch();
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCancel);
    auto *main = new QHBoxLayout(this);
    main->addWidget(ColumnsBox, 1);
    main->addLayout(buttons);

    connect(BtnSelectAll, &QPushButton::clicked, this, &TCustomColumnForm::SelectAll);
    connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TCustomColumnForm::SelectAll()
{
    for (int i = 0; i < ColumnsBox->count(); ++i)
        ColumnsBox->item(i)->setCheckState(Qt::Checked);
}

QList<bool> TCustomColumnForm::Ticks() const
{
    QList<bool> out;
    for (int i = 0; i < ColumnsBox->count(); ++i)
        out.append(ColumnsBox->item(i)->checkState() == Qt::Checked);
    return out;
}

void ChooseGridColumns(TDataGrid *grid)
{
    if (!grid)
        return;
    TCustomColumnForm form(grid->window());
    const QList<int> columns = grid->VisualColumns();
    for (int column : columns) {
        auto *item = new QListWidgetItem(grid->ColumnCaption(column), form.ColumnsBox);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(grid->ColumnVisible(column) ? Qt::Checked : Qt::Unchecked);
    }
    if (ExecModal(form) != QDialog::Accepted)
        return;
    const QList<bool> ticks = form.Ticks();
    for (int i = 0; i < columns.size(); ++i)
        grid->SetColumnVisible(columns[i], ticks.value(i));
}
