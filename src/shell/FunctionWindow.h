#pragma once

// Opening a function or edit window: the one way the program does it. The
// window is created afresh, loses the actions the user has no right to,
// is logged, shown modally over the window that opened it, logged again
// and freed.
//
// Right tags: an action that changes data carries
// `action->setProperty("rightTag", OperateRightTag)`, one that prints or
// exports `PrintRightTag`; actions without the property are always there.

#include "FunctionRegistry.h"

class QAction;
class QWidget;

constexpr int OperateRightTag = 1;
constexpr int PrintRightTag = 2;
constexpr const char *RightTagProperty = "rightTag";
// Set on an action that HideTaggedActions took away, so a window that
// enables its actions from the selection leaves it hidden and disabled.
constexpr const char *RightHiddenProperty = "rightHidden";

// Creates the window, checks the rights row of `code` in AccQuery (-1 and
// codes without a row keep every action), logs "打开", shows it modally,
// logs "关闭" with its caption at that moment and frees it. Returns the
// window's result; QDialog::Rejected when the user may not open it.
int OpenFunctionWindow(const TWindowFactory &factory, int code);

template <class T>
int OpenFunctionWindow(int code)
{
    return OpenFunctionWindow(MakeWindowFactory<T>(), code);
}

// Hides and disables every action the window owns whose right tag is `tag`.
void HideTaggedActions(QWidget *window, int tag);
// True when HideTaggedActions took the action away.
bool IsRightHidden(const QAction *action);
