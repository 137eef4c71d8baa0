#include "MessageBoxes.h"

#include "data/AppPaths.h"
#include "data/SilentAbort.h"

#include <QApplication>
#include <QMessageBox>

using namespace Qt::StringLiterals;

namespace {

TMessageSeam &seam()
{
    static TMessageSeam s;
    return s;
}

bool show(TMessageKind kind, const QString &caption, const QString &text)
{
    if (seam())
        return seam()(kind, caption, text);
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(caption);
    box.setText(text);
    switch (kind) {
    case TMessageKind::Info: box.setIcon(QMessageBox::Information); break;
    case TMessageKind::Warning: box.setIcon(QMessageBox::Warning); break;
    case TMessageKind::Error: box.setIcon(QMessageBox::Critical); break;
    case TMessageKind::Confirm:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        return box.exec() == QMessageBox::Ok;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return true;
}

void showThenMaybeAbort(TMessageKind kind, const QString &caption, const QString &text, bool abort)
{
    show(kind, caption, text);
    if (abort)
        throw TSilentAbort();
}

} // namespace

TMessageSeam SetMessageSeam(TMessageSeam s)
{
    return std::exchange(seam(), std::move(s));
}

void ShowInfo(const QString &text, bool abort)
{
    showThenMaybeAbort(TMessageKind::Info, u"信息"_s, text, abort);
}

void ShowWarning(const QString &text, bool abort)
{
    showThenMaybeAbort(TMessageKind::Warning, u"警告"_s, text, abort);
}

void ShowError(const QString &text, bool abort)
{
    showThenMaybeAbort(TMessageKind::Error, GetApplicationTitle(), text, abort);
}

bool AskConfirm(const QString &text)
{
    return show(TMessageKind::Confirm, u"询问"_s, text);
}
