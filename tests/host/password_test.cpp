// Password hashes: what is stored, what verifies, and the checks of a new
// password typed twice.
#include "host/password.h"
#include "schema/tables.h"
#include "tests/support/printers.h"

#include <functional>
#include <gtest/gtest.h>

using host::hashPassword;
using host::isPasswordHash;
using host::verifyPassword;

TEST(Password, AHashVerifiesItsPasswordOnlyAndFitsTheColumn)
{
    const QString hash = hashPassword("admin");
    ASSERT_FALSE(hash.isEmpty());
    EXPECT_TRUE(hash.startsWith("$argon2id$")) << hash.toStdString();
    EXPECT_TRUE(isPasswordHash(hash));
    EXPECT_LE(hash.size(), schema::len::user_password);
    EXPECT_FALSE(hash.contains("admin"));

    EXPECT_TRUE(verifyPassword(hash, "admin"));
    for (const char* wrong : {"Admin", "admin ", "admi", "", "adminadmin"})
        EXPECT_FALSE(verifyPassword(hash, wrong)) << wrong;
}

TEST(Password, EveryHashHasItsOwnSaltAndNonAsciiPasswordsWork)
{
    const QString first = hashPassword("密码123");
    const QString second = hashPassword("密码123");
    EXPECT_NE(first, second);
    EXPECT_TRUE(verifyPassword(first, "密码123"));
    EXPECT_TRUE(verifyPassword(second, "密码123"));
    EXPECT_FALSE(verifyPassword(first, "密码124"));
    EXPECT_FALSE(verifyPassword(first, "123"));
}

TEST(Password, PlainAndDamagedValuesAreNoHashesAndNeverVerify)
{
    const QString hash = hashPassword("123");
    for (const QString& stored : {QString("123"), QString(), QString("$argon2i$v=19$m=4096,t=3,p=1$x$y"),
                                  QString(QString(" ") + hash), hash.left(40)}) {
        EXPECT_FALSE(verifyPassword(stored, "123")) << stored.toStdString();
    }
    EXPECT_FALSE(isPasswordHash("123"));
    EXPECT_FALSE(isPasswordHash(""));
    EXPECT_TRUE(isPasswordHash(hash.left(40)));  // it looks like one; verifying it fails
    QString tampered = hash;
    tampered[tampered.size() - 1] = QLatin1Char(tampered.back() == QLatin1Char('A') ? 'B' : 'A');
    EXPECT_FALSE(verifyPassword(tampered, "123"));
}

TEST(Password, PlainPasswordsMatchOnlyWhenEqual)
{
    EXPECT_TRUE(host::plainPasswordMatches("123", "123"));
    EXPECT_TRUE(host::plainPasswordMatches("张伟", "张伟"));
    for (const char* typed : {"12", "1234", "124", "", " 123"})
        EXPECT_FALSE(host::plainPasswordMatches("123", typed)) << typed;
}

TEST(Password, ANewPasswordMustBeTypedTwiceAndNotBeEmpty)
{
    EXPECT_EQ(host::newPasswordProblem("", ""), "密码不能为空.");
    EXPECT_EQ(host::newPasswordProblem("", "x"), "密码不能为空.");
    EXPECT_EQ(host::newPasswordProblem("abc", "abd"), "两次输入的密码不一致.");
    EXPECT_EQ(host::newPasswordProblem("abc", ""), "两次输入的密码不一致.");
    EXPECT_EQ(host::newPasswordProblem("abc", "abc"), "");
}

// A login's refusal must not tell by its time how the password is stored, or
// whether there is one: every check costs one Argon2id verification.
TEST(Password, EveryCheckCostsExactlyOneHashVerification)
{
    const QString hash = hashPassword("123");
    QString tampered = hash;
    tampered[tampered.size() - 1] = QLatin1Char(tampered.back() == QLatin1Char('A') ? 'B' : 'A');
    const QList<std::pair<const char*, std::function<void()>>> checks = {
        {"right hash", [&] { EXPECT_TRUE(verifyPassword(hash, "123")); }},
        {"wrong hash", [&] { EXPECT_FALSE(verifyPassword(hash, "124")); }},
        {"tampered hash", [&] { EXPECT_FALSE(verifyPassword(tampered, "123")); }},
        {"damaged hash", [&] { EXPECT_FALSE(verifyPassword(hash.left(40), "123")); }},
        {"other algorithm", [&] { EXPECT_FALSE(verifyPassword("$argon2i$v=19$m=4096,t=3,p=1$x$y", "123")); }},
        {"plain value", [&] { EXPECT_FALSE(verifyPassword("123", "123")); }},
        {"empty value", [&] { EXPECT_FALSE(verifyPassword(QString(), "")); }},
        {"plain match", [&] { EXPECT_TRUE(host::plainPasswordMatches("123", "123")); }},
        {"plain mismatch", [&] { EXPECT_FALSE(host::plainPasswordMatches("123", "124")); }},
        {"stand-in", [&] { host::verifyStandIn("123"); }},
    };
    for (const auto& [name, check] : checks) {
        const quint64 before = host::passwordVerifications();
        check();
        EXPECT_EQ(host::passwordVerifications() - before, 1u) << name;
    }
}

TEST(Password, TheStandInHashCostsWhatANewHashCosts)
{
    const QString standIn = host::standInHash();
    EXPECT_TRUE(isPasswordHash(standIn));
    // Algorithm, version, memory, passes and lanes: everything but salt and hash.
    EXPECT_EQ(standIn.section('$', 0, 3), hashPassword("x").section('$', 0, 3)) << standIn.toStdString();
    EXPECT_FALSE(verifyPassword(standIn, ""));
}
