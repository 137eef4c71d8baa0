#pragma once

// TEditorForm: the frame of the editor dialogs that list windows open on
// their dataset's current row: labelled data-aware controls, the buttons
// "保存(&S)", "取消(&C)" (also Esc) and "帮助(&H)", and the editors' keys —
// the dialog sees a key before its controls: Enter moves to the next
// control (a multi-line box keeps it for a new line), Enter with Shift,
// Ctrl or Alt saves.
//
// Saving moves the focus to the save button, hands every control's text to
// its field and posts the row; a failed check of the data module leaves the
// dialog open with the focus on the field it names.
//
// RunEditor is the list windows' side: it puts the dataset into insert or
// edit state, opens the editor like any function window with code -1
// (logged, no rights applied), and afterwards cancels whatever was not
// saved, so closing an editor without saving leaves no trace.

#include "shell/FunctionRegistry.h"

#include <QDialog>
#include <functional>

class QFormLayout;
class QHBoxLayout;
class QPushButton;
class QVBoxLayout;
class TDataSet;
class TDBCheckBox;
class TDBComboBox;
class TDBEdit;
class TDBMemo;
class TField;

class TEditorForm : public QDialog
{
    Q_OBJECT
public:
    // `name` is the dialog's component name, `helpKeyword` its help topic
    // (empty: no help button).
    TEditorForm(const QString &name, const QString &caption, const QString &helpKeyword,
                TDataSet *dataSet, QWidget *parent = nullptr);
    ~TEditorForm() override;

    TDataSet *DataSet() const { return m_dataSet; }
    QString HelpKeyword() const { return m_helpKeyword; }

    QFormLayout *FieldsLayout = nullptr;   // one row per labelled control
    QHBoxLayout *ButtonsLayout = nullptr;  // stretch, then the buttons
    QPushButton *BtnSave = nullptr;
    QPushButton *BtnCancel = nullptr;
    QPushButton *BtnHelp = nullptr;

    // A labelled control bound to the field (the label is its buddy).
    TDBEdit *AddEdit(const QString &label, const QString &field);
    TDBComboBox *AddCombo(const QString &label, const QString &field);
    TDBMemo *AddMemo(const QString &label, const QString &field);
    TDBCheckBox *AddCheck(const QString &caption, const QString &field);

    // A fixed dialog by default; one with a growing text box is not.
    void SetResizable(bool resizable);

    // Hands every control's text to its field (bad input throws TDbError).
    void UpdateRecords();
    // What the save button does.
    void Save();

protected:
    // After a successful post: closes with OK. "保存后新增" keeps it open.
    virtual void AfterSave();

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void focusField(TField *field);
    bool handleEnter(QWidget *receiver, Qt::KeyboardModifiers modifiers);

    TDataSet *m_dataSet;
    QString m_helpKeyword;
    QVBoxLayout *m_main = nullptr;
};

enum class TEditMode { Append, Edit };

// Append: a new row; Edit: the current row, only when the dataset has rows
// (without rows nothing opens: Rejected). `prepare` runs on the row before
// the editor opens (the category of a new item). Returns the editor's result.
int RunEditor(TDataSet *dataSet, TEditMode mode, const TWindowFactory &editor,
              const std::function<void()> &prepare = {});

template <class T>
int RunEditor(TDataSet *dataSet, TEditMode mode, const std::function<void()> &prepare = {})
{
    return RunEditor(dataSet, mode, MakeWindowFactory<T>(), prepare);
}
