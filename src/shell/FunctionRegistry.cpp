#include "FunctionRegistry.h"

#include "data/Schema.h"

#include <QHash>

namespace {

QHash<int, TWindowFactory> &byCode()
{
    static QHash<int, TWindowFactory> map;
    return map;
}

QHash<QString, TWindowFactory> &byName()
{
    static QHash<QString, TWindowFactory> map;
    return map;
}

template <class Key>
TWindowFactory exchange(QHash<Key, TWindowFactory> &map, const Key &key, TWindowFactory factory)
{
    TWindowFactory previous = map.value(key);
    if (factory)
        map.insert(key, std::move(factory));
    else
        map.remove(key);
    return previous;
}

} // namespace

bool IsFunctionCode(int code)
{
    for (const Schema::FunctionInfo &f : Schema::Functions())
        if (f.code == code)
            return true;
    return false;
}

TWindowFactory RegisterFunctionWindow(int code, TWindowFactory factory)
{
    if (!IsFunctionCode(code))
        return {};
    return exchange(byCode(), code, std::move(factory));
}

TWindowFactory FunctionWindowFactory(int code)
{
    return IsFunctionCode(code) ? byCode().value(code) : TWindowFactory();
}

TWindowFactory RegisterNamedWindow(const QString &name, TWindowFactory factory)
{
    return exchange(byName(), name, std::move(factory));
}

TWindowFactory NamedWindowFactory(const QString &name)
{
    return byName().value(name);
}
