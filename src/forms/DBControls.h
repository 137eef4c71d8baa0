#pragma once

// The data-aware controls of the editor dialogs: an edit box, an editable
// choice list, a multi-line text box and a check box, each bound to one
// field of a dataset. They show the field of the dataset's current row (or
// of the row being edited) and hand what the user typed back to the field
// when the user leaves them, or when the editor saves (UpdateRecord), so a
// half-typed number never reaches the field before it is complete.
//
// The four are one small family around TDBControl, kept in one file pair.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QVariant>

class TDataSet;
class TField;

class TDBControl
{
public:
    virtual ~TDBControl() = default;

    TDataSet *DataSet() const;
    QString DataField() const { return m_dataField; }
    // The bound field; nullptr while the dataset is closed or lacks it.
    TField *Field() const;

    // Writes the control's value into the field when it differs and the
    // dataset is being edited. Bad input (letters in a number) throws TDbError.
    void UpdateRecord();
    // Shows the field's current value again.
    void Refresh();

    // The bound control among the widget and its descendants; nullptr when none.
    static TDBControl *Of(QWidget *widget);
    static QList<TDBControl *> In(QWidget *parent);
    QWidget *Widget() const { return m_widget; }

protected:
    // Binds; `self` is the widget itself, the context of the connections.
    void bind(QWidget *self, TDataSet *dataSet, const QString &dataField);

    // The value the user sees, as text (or a bool for the check box).
    virtual QVariant controlValue() const = 0;
    virtual void showValue(const TField *field) = 0;  // nullptr: show nothing
    // True when the control's value differs from the field's.
    virtual bool differs(const TField *field) const;

    bool m_loading = false;

private:
    QPointer<TDataSet> m_dataSet;
    QString m_dataField;
    QWidget *m_widget = nullptr;
};

class TDBEdit : public QLineEdit, public TDBControl
{
    Q_OBJECT
public:
    TDBEdit(TDataSet *dataSet, const QString &dataField, QWidget *parent = nullptr);

protected:
    QVariant controlValue() const override { return text(); }
    void showValue(const TField *field) override;
};

// An editable choice list: its items suggest values, any text is accepted.
class TDBComboBox : public QComboBox, public TDBControl
{
    Q_OBJECT
public:
    TDBComboBox(TDataSet *dataSet, const QString &dataField, QWidget *parent = nullptr);

    // Replaces the suggested values and keeps the text shown.
    void SetItems(const QStringList &items);

protected:
    QVariant controlValue() const override { return currentText(); }
    void showValue(const TField *field) override;
};

class TDBMemo : public QPlainTextEdit, public TDBControl
{
    Q_OBJECT
public:
    TDBMemo(TDataSet *dataSet, const QString &dataField, QWidget *parent = nullptr);

    // Whether Enter starts a new line here; without it an editor moves on
    // to its next control.
    bool WantReturns() const { return m_wantReturns; }
    void SetWantReturns(bool want) { m_wantReturns = want; }

protected:
    QVariant controlValue() const override { return toPlainText(); }
    void showValue(const TField *field) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    bool m_wantReturns = true;
};

class TDBCheckBox : public QCheckBox, public TDBControl
{
    Q_OBJECT
public:
    TDBCheckBox(const QString &caption, TDataSet *dataSet, const QString &dataField,
                QWidget *parent = nullptr);

protected:
    QVariant controlValue() const override { return isChecked(); }
    void showValue(const TField *field) override;
    bool differs(const TField *field) const override;
};
