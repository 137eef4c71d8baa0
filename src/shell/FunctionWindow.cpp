#include "FunctionWindow.h"

#include "HelpFrm.h"
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
// The help window opens nothing: it follows the modal windows instead.
void placeOverActiveWindow(QWidget *window)
{
    if (window->parentWidget())
        return;
    QWidget *owner = QApplication::activeModalWidget();
    if (!owner)
        owner = QApplication::activeWindow();
    if (qobject_cast<THelpForm *>(owner))
        owner = owner->parentWidget() ? owner->parentWidget()->window() : nullptr;
    if (owner)
        window->setParent(owner, window->windowFlags() | Qt::Window);
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
