#include "ExitRules.h"

#include "data/DMPas.h"
#include "data/DbError.h"
#include "data/Messages.h"
#include "data/ParManager.h"
#include "data/UserLog.h"

#include <QCoreApplication>
#include <QMetaObject>

using namespace Qt::StringLiterals;

namespace {

bool &terminationRequested()
{
    static bool requested = false;
    return requested;
}

// Runs a step whose failure must not keep the program from ending.
void showErrorsOf(const std::function<void()> &step)
{
    try {
        step();
    } catch (const TDbError &e) {
        ShowError(e.fullText());
    } catch (const std::exception &e) {
        ShowError(QString::fromLocal8Bit(e.what()));
    }
}

} // namespace

bool MainWindowMayClose(const std::function<bool()> &askExit)
{
    bool mayClose = true;
    showErrorsOf([&] {
        if (ParManager->GetIsExitConfirm())
            mayClose = askExit();
    });
    return mayClose;
}

void CloseMainSession()
{
    showErrorsOf([] { WriteUserLog(u"退出系统"_s, u"关闭"_s); });
    showErrorsOf([] {
        if (DM1)
            DM1->DurEzeConn.Close();
    });
}

void TerminateApplication()
{
    terminationRequested() = true;
    // exit() rather than quit(): quitting would first ask every window to
    // close, and the main window would then ask whether to leave.
    if (QCoreApplication *app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

bool TerminationRequested()
{
    return terminationRequested();
}

void ClearTerminationRequest()
{
    terminationRequested() = false;
}
