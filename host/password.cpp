#include "host/password.h"

#include <QByteArray>
#include <atomic>
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

// Made once with hashPassword()'s limits from random bytes that were thrown
// away: nobody knows its password.
const char kStandInHash[] =
    "$argon2id$v=19$m=65536,t=2,p=1$369aAJvuRespLLXc9//u4A$oflEX/KULp/T0qdJ8wxz6PLT5OtaEvUV9uABGSZqxsY";

std::atomic<quint64> verifications{0};

// One Argon2id verification: the cost every password check pays once.
bool verifyHash(const char* hash, const Secret& secret)
{
    verifications.fetch_add(1, std::memory_order_relaxed);
    return crypto_pwhash_str_verify(hash, secret.data(), secret.size()) == 0;
}

// A stored hash the library can verify: its fields decode (a value that
// does not would be refused at once, in no time).
bool verifiable(const QByteArray& hash)
{
    return hash.size() < qsizetype(crypto_pwhash_STRBYTES) &&
           crypto_pwhash_str_needs_rehash(hash.constData(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                                          crypto_pwhash_MEMLIMIT_INTERACTIVE) >= 0;
}

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
    if (!sodiumReady())
        return false;
    const Secret secret(plain);
    const bool isHash = isPasswordHash(stored);
    const QByteArray hash = isHash ? stored.toLatin1() : QByteArray();
    if (!isHash || !verifiable(hash)) {
        (void)verifyHash(kStandInHash, secret);
        return false;
    }
    return verifyHash(hash.constData(), secret);
}

void verifyStandIn(const QString& plain)
{
    if (!sodiumReady())
        return;
    const Secret secret(plain);
    (void)verifyHash(kStandInHash, secret);
}

QString standInHash()
{
    return QString::fromLatin1(kStandInHash);
}

quint64 passwordVerifications()
{
    return verifications.load(std::memory_order_relaxed);
}

bool plainPasswordMatches(const QString& stored, const QString& plain)
{
    if (!sodiumReady())
        return false;
    // Both sides are reduced to digests of one length, so that the comparison
    // takes the same time whatever was typed.
    const Secret left(stored);
    const Secret right(plain);
    (void)verifyHash(kStandInHash, right);
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
