#include "Guard.h"

#include "DbError.h"
#include "Messages.h"
#include "SilentAbort.h"

#include <QString>

bool RunGuarded(const std::function<void()> &action)
{
    try {
        action();
        return true;
    } catch (const TSilentAbort &) {
    } catch (const TDbError &e) {
        ShowError(e.fullText());
    } catch (const std::exception &e) {
        ShowError(QString::fromLocal8Bit(e.what()));
    }
    return false;
}
