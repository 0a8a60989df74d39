#include "host/password.h"

#include <QByteArray>
#include <sodium.h>

namespace host {

namespace {

// sodium_init() once per process; false when the library cannot work.
bool sodiumReady()
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}

// The UTF-8 form of a typed password, wiped when it goes out of scope.
class Secret {
public:
    explicit Secret(const QString& text) : bytes_(text.toUtf8()) {}
    ~Secret() { sodium_memzero(bytes_.data(), size_t(bytes_.size())); }
    Secret(const Secret&) = delete;
    Secret& operator=(const Secret&) = delete;
    const char* data() const { return bytes_.constData(); }
    unsigned long long size() const { return static_cast<unsigned long long>(bytes_.size()); }

private:
    QByteArray bytes_;
};

}  // namespace

QString hashPassword(const QString& plain)
{
    if (!sodiumReady())
        return {};
    const Secret secret(plain);
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, secret.data(), secret.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        return {};
    return QString::fromLatin1(hash);
}

bool isPasswordHash(const QString& stored)
{
    return stored.startsWith(QLatin1String(crypto_pwhash_STRPREFIX));
}

bool verifyPassword(const QString& stored, const QString& plain)
{
    if (!sodiumReady() || !isPasswordHash(stored))
        return false;
    const QByteArray hash = stored.toLatin1();
    if (hash.size() >= qsizetype(crypto_pwhash_STRBYTES))
        return false;
    const Secret secret(plain);
    return crypto_pwhash_str_verify(hash.constData(), secret.data(), secret.size()) == 0;
}

bool plainPasswordMatches(const QString& stored, const QString& plain)
{
    if (!sodiumReady())
        return false;
    // Both sides are reduced to digests of one length, so that the comparison
    // takes the same time whatever was typed.
    const Secret left(stored);
    const Secret right(plain);
    unsigned char a[crypto_generichash_BYTES];
    unsigned char b[crypto_generichash_BYTES];
    crypto_generichash(a, sizeof a, reinterpret_cast<const unsigned char*>(left.data()), left.size(), nullptr, 0);
    crypto_generichash(b, sizeof b, reinterpret_cast<const unsigned char*>(right.data()), right.size(), nullptr, 0);
    const bool same = sodium_memcmp(a, b, sizeof a) == 0;
    sodium_memzero(a, sizeof a);
    sodium_memzero(b, sizeof b);
    return same;
}

QString newPasswordProblem(const QString& password, const QString& confirmation)
{
    if (password.isEmpty())
        return QStringLiteral("密码不能为空.");
    if (password != confirmation)
        return QStringLiteral("两次输入的密码不一致.");
    return {};
}

}  // namespace host
