#include "FunctionWindow.h"

#include "ModalSeam.h"
#include "Rights.h"
#include "data/UserLog.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QWidget>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Shown over the window that opened it, yet alive only while it is shown.
void placeOverActiveWindow(QWidget *window)
{
    if (window->parentWidget())
        return;
    if (QWidget *active = QApplication::activeWindow())
        window->setParent(active, window->windowFlags() | Qt::Window);
}

} // namespace

int OpenFunctionWindow(const TWindowFactory &factory, int code)
{
    if (!factory)
        return QDialog::Rejected;
    std::unique_ptr<QWidget> window(factory());
    if (!window)
        return QDialog::Rejected;

    const TFunctionRights rights = FindFunctionRights(code);
    if (!rights.isOpen)
        return QDialog::Rejected;
    if (!rights.isOperate)
        HideTaggedActions(window.get(), OperateRightTag);
    if (!rights.isPrint)
        HideTaggedActions(window.get(), PrintRightTag);

    placeOverActiveWindow(window.get());
    WriteUserLog(window->windowTitle(), u"打开"_s);
    const int result = ExecModalWindow(*window);
    WriteUserLog(window->windowTitle(), u"关闭"_s);
    return result;
}

void HideTaggedActions(QWidget *window, int tag)
{
    if (!window)
        return;
    for (QAction *action : window->findChildren<QAction *>()) {
        if (action->property(RightTagProperty).toInt() != tag)
            continue;
        action->setProperty(RightHiddenProperty, true);
        action->setVisible(false);
        action->setEnabled(false);
    }
}

bool IsRightHidden(const QAction *action)
{
    return action && action->property(RightHiddenProperty).toBool();
}
