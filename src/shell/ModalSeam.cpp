#include "ModalSeam.h"

namespace {

TModalHandler &handler()
{
    static TModalHandler h;
    return h;
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
