#include "ModalSeam.h"

#include <QEvent>
#include <QEventLoop>
#include <QPointer>

namespace {

TModalHandler &handler()
{
    static TModalHandler h;
    return h;
}

TWindowModalHandler &windowHandler()
{
    static TWindowModalHandler h;
    return h;
}

// Ends a modal loop when its window is hidden (closed).
class TLoopCloser : public QObject
{
public:
    explicit TLoopCloser(QEventLoop &loop) : m_loop(loop) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Hide)
            m_loop.quit();
        return false;
    }

private:
    QEventLoop &m_loop;
};

int runWindowModally(QWidget &window)
{
    QEventLoop loop;
    TLoopCloser closer(loop);
    QPointer<QWidget> guard(&window);
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.setWindowModality(Qt::ApplicationModal);
    window.installEventFilter(&closer);
    QObject::connect(&window, &QObject::destroyed, &loop, &QEventLoop::quit);
    window.show();
    loop.exec(QEventLoop::DialogExec);
    if (guard)
        guard->removeEventFilter(&closer);
    return 0;
}

} // namespace

TModalHandler SetModalHandler(TModalHandler h)
{
    return std::exchange(handler(), std::move(h));
}

int ExecModal(QDialog &dialog)
{
    if (handler())
        return handler()(dialog);
    return dialog.exec();
}

TWindowModalHandler SetWindowModalHandler(TWindowModalHandler h)
{
    return std::exchange(windowHandler(), std::move(h));
}

int ExecModalWindow(QWidget &window)
{
    if (auto *dialog = qobject_cast<QDialog *>(&window))
        return ExecModal(*dialog);
    if (windowHandler())
        return windowHandler()(window);
    return runWindowModally(window);
}
