#include "Passwords.h"

#include "data/DbError.h"

#include <sodium.h>

using namespace Qt::StringLiterals;

namespace {

void ensureSodium()
{
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw TDbError(u"无法初始化密码库。"_s);
}

} // namespace

QString HashPassword(const QString &password)
{
    ensureSodium();
    const QByteArray utf8 = password.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, utf8.constData(), static_cast<unsigned long long>(utf8.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw TDbError(u"计算密码摘要时内存不足。"_s);
    return QString::fromLatin1(out);
}

bool IsPasswordHash(const QString &stored)
{
    return stored.startsWith(u"$argon2"_s);
}

bool PasswordMatches(const QString &typed, const QString &stored)
{
    if (stored.isEmpty())
        return typed.isEmpty();
    if (!IsPasswordHash(stored))
        return typed == stored;
    ensureSodium();
    const QByteArray hash = stored.toLatin1();
    const QByteArray utf8 = typed.toUtf8();
    return crypto_pwhash_str_verify(hash.constData(), utf8.constData(),
                                    static_cast<unsigned long long>(utf8.size())) == 0;
}
