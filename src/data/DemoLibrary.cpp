#include "DemoLibrary.h"

#include "DbError.h"

using namespace Qt::StringLiterals;

void LoadDemoLibrary(TDurEzeConn &)
{
    throw TDbError(u"示例数据尚未提供。"_s);
}

void GenerateLibrary(TDurEzeConn &, int, const std::function<void(int)> &)
{
    throw TDbError(u"数据生成尚未提供。"_s);
}
