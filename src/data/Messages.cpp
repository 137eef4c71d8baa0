#include "Messages.h"

#include "AppPaths.h"
#include "SilentAbort.h"

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

TMessagePresenter &presenter()
{
    static TMessagePresenter p;
    return p;
}

bool show(TMessageKind kind, const QString &caption, const QString &text)
{
    if (presenter())
        return presenter()(kind, caption, text);
    std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(text));
    return false;
}

void showThenMaybeAbort(TMessageKind kind, const QString &caption, const QString &text, bool abort)
{
    show(kind, caption, text);
    if (abort)
        throw TSilentAbort();
}

} // namespace

TMessagePresenter SetMessagePresenter(TMessagePresenter p)
{
    return std::exchange(presenter(), std::move(p));
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

bool ShowMessageBox(TMessageKind kind, const QString &caption, const QString &text)
{
    return show(kind, caption, text);
}
