#pragma once

// The user box of the login window: an editable combo box without
// automatic completion that can be switched to a plain edit field with no
// drop-down list (the "simple" style).

#include <QComboBox>

class TUserNameCombo : public QComboBox
{
    Q_OBJECT
public:
    explicit TUserNameCombo(QWidget *parent = nullptr);

    void SetSimpleStyle(bool simple);
    bool SimpleStyle() const { return m_simple; }

    void showPopup() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    bool m_simple = false;
};
