#include "PowerControl.h"

#include "data/Messages.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>

using namespace Qt::StringLiterals;

namespace {

TPowerRequester &requester()
{
    static TPowerRequester r;
    return r;
}

QString askLogind(TPowerAction action)
{
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected())
        return u"无法连接到系统总线（%1）。"_s.arg(bus.lastError().message());
    QDBusInterface manager(u"org.freedesktop.login1"_s, u"/org/freedesktop/login1"_s,
                           u"org.freedesktop.login1.Manager"_s, bus);
    if (!manager.isValid())
        return u"系统的登录管理服务（logind）不可用（%1）。"_s.arg(manager.lastError().message());
    // Interactive: the policy may ask the user for a password first.
    const QString method = action == TPowerAction::PowerOff ? u"PowerOff"_s : u"Reboot"_s;
    const QDBusMessage reply = manager.call(method, true);
    if (reply.type() == QDBusMessage::ErrorMessage)
        return reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
    return {};
}

} // namespace

TPowerRequester SetPowerRequester(TPowerRequester r)
{
    return std::exchange(requester(), std::move(r));
}

QString PowerRefusalMessage(TPowerAction action, const QString &detail)
{
    const QString what = action == TPowerAction::PowerOff ? u"关闭计算机"_s : u"重新启动计算机"_s;
    return u"系统没有接受%1的请求，程序将只退出本系统。\n详细信息：%2"_s.arg(what, detail);
}

void RequestPowerAction(TPowerAction action)
{
    const QString refusal = requester() ? requester()(action) : askLogind(action);
    if (!refusal.isEmpty())
        ShowError(PowerRefusalMessage(action, refusal));
}
