#pragma once

// The query builder's dialog: the condition list on top, the editors of the
// next condition below (joiner, field, operator, value on the page the
// field's type needs). The form sees keys before its controls: Enter moves
// on to the next control, Enter with Shift, Ctrl or Alt is OK, Esc cancels.

#include "QLDBFilterRules.h"

#include <QDialog>

class QComboBox;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;
class QStackedWidget;

class TQLDBFilterForm : public QDialog
{
    Q_OBJECT
public:
    explicit TQLDBFilterForm(QWidget *parent = nullptr);

    QGroupBox *gbFilterConditions = nullptr;
    QListWidget *lbFilter = nullptr;
    QPushButton *btnDelete = nullptr;
    QPushButton *btnNewConditions = nullptr;
    QGroupBox *gbDefineCondition = nullptr;
    QRadioButton *rbAnd = nullptr;
    QRadioButton *rbOr = nullptr;
    QComboBox *cbFields = nullptr;
    QComboBox *cbConditions = nullptr;
    QStackedWidget *nbValue = nullptr;  // pages "Default", "Boolean", "Date"
    QLineEdit *edtValue = nullptr;
    QComboBox *cbBoolean = nullptr;
    QDateEdit *dtpDate = nullptr;
    QPushButton *btnAddToList = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *BtnAll = nullptr;
    QPushButton *btnCancel = nullptr;

    // The fields offered, in the order given.
    void SetFields(const QList<TField *> &fields);
    void SetConditions(const QList<TFilterCondition> &conditions);
    QList<TFilterCondition> ConditionList() const;
    // The field selected in cbFields; nullptr when none.
    TField *SelectedField() const;
    // The text drawn for each line of the list.
    QStringList LineTexts() const;

    // The dialog's steps, as its buttons and keys run them.
    void FieldChanged();
    bool AddToList();
    void DeleteLine();
    void NewConditions();
    void LoadLine();
    void Accept();
    void AcceptAll();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayout();
    void appendLine(const TFilterCondition &condition);
    void redrawLines();
    QString valueText() const;
    TFilterCondition conditionOf(const QListWidgetItem *item) const;
};
