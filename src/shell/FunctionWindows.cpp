// The registry of function windows: one line per window. A code that has no
// line here opens nothing yet.

#include "FunctionWindows.h"

#include "FunctionRegistry.h"
#include "ParFrm.h"
#include "UserFrm.h"
#include "UserLogFrm.h"
#include "catalogue/DataDictFrm.h"
#include "circulation/BylawFrm.h"
#include "readers/ReaderCateFrm.h"

void RegisterFunctionWindows()
{
    static const bool registered = [] {
        RegisterFunctionWindow(54, MakeWindowFactory<TParForm>());
        RegisterFunctionWindow(51, MakeWindowFactory<TDataDictForm>());
        RegisterFunctionWindow(22, MakeWindowFactory<TReaderCateForm>());
        RegisterFunctionWindow(23, MakeWindowFactory<TBylawForm>());
        RegisterFunctionWindow(53, MakeWindowFactory<TUserLogForm>());
        RegisterFunctionWindow(52, MakeWindowFactory<TUserForm>());
        return true;
    }();
    (void)registered;
}
