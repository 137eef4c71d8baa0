#include "DropDownFrm.h"

#include "DataGrid.h"
#include "DropDownPlacement.h"
#include "GridTitleHeader.h"

#include "data/DataSet.h"
#include "data/DbHelpers.h"
#include "shell/ModalSeam.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TDropDownForm::TDropDownForm(TDataSet *query, QWidget *parent)
    : QDialog(parent, Qt::Popup | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(u"DropDownForm"_s);
    resize(398, 223);
    DataGrid = new TDataGrid(this);
    DataGrid->setObjectName(u"DataGrid"_s);
    DataGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    DataGrid->setFrameShape(QFrame::Box);
    DataGrid->SetFilterRowVisible(false);
    DataGrid->SetDataSet(query);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(DataGrid);
    connect(DataGrid, &TDataGrid::RowActivated, this, &TDropDownForm::Pick);
    setResult(QDialog::Rejected);
}

void TDropDownForm::Pick()
{
    TDataSet *query = DataGrid->DataSet();
    if (query && query->Active() && !query->IsEmpty())
        accept();
}

void TDropDownForm::changeEvent(QEvent *event)
{
    // Switching to another window closes the list with what it has.
    if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow())
        done(result());
    QDialog::changeEvent(event);
}

void TDropDownForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Pick();
        return;
    }
    QDialog::keyPressEvent(event);
}

void PlaceDropDown(QWidget *dropDown, const QWidget *editBox)
{
    const QPoint pos = editBox->mapToGlobal(QPoint(0, 0));
    QScreen *screen = QGuiApplication::screenAt(pos);
    if (!screen)
        screen = editBox->screen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    dropDown->setGeometry(PlaceDropDown(area, pos, editBox->height(), dropDown->size()));
}

bool PickFromDropDown(QWidget *editBox, TDataSet *query, bool singleRow)
{
    OpenQuery(query, query->SQL());
    if (singleRow && query->RecordCount() == 1)
        return true;
    TDropDownForm form(query, editBox ? editBox->window() : nullptr);
    if (editBox)
        PlaceDropDown(&form, editBox);
    return ExecModal(form) == QDialog::Accepted;
}
