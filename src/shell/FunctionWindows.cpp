// The registry of function windows: one line per window. A code that has no
// line here opens nothing yet.

#include "FunctionWindows.h"

#include "FunctionRegistry.h"
#include "ParFrm.h"

void RegisterFunctionWindows()
{
    static const bool registered = [] {
        RegisterFunctionWindow(54, MakeWindowFactory<TParForm>());
        return true;
    }();
    (void)registered;
}
