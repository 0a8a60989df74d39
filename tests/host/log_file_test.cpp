// The host's log: a file of its owner's, never written through a link, with
// every value escaped and cut to a readable length.
#include "host/change_log.h"
#include "host/functions.h"
#include "tests/support/printers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What f_log says on stderr while `write` runs.
template <typename Write>
QString stderrOf(const QString& capture, Write write)
{
    std::fflush(stderr);
    const int saved = ::dup(2);
    const int file = ::open(QFile::encodeName(capture).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(file, 2);
    ::close(file);
    write();
    std::fflush(stderr);
    ::dup2(saved, 2);
    ::close(saved);
    QFile read(capture);
    return read.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(read.readAll()) : QString();
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing");
}

class LogFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        previous_ = host::logFile();
        log_ = dir_.filePath("wms-rights.log");
        host::setLogFile(log_);
        host::gs_user_id = "admin";
    }
    void TearDown() override
    {
        host::setLogFile(previous_);
        host::gs_user_id = "admin";
    }
    QStringList lines() const { return QString::fromUtf8(contents(log_)).split('\n', Qt::SkipEmptyParts); }

    QTemporaryDir dir_;
    QString previous_;
    QString log_;
};

TEST_F(LogFile, IsCreatedReadableByItsOwnerOnly)
{
    const mode_t umask = ::umask(0);  // even with nothing masked
    host::f_log("登录失败: 操作员 E001, 操作员编号或密码错误.");
    ::umask(umask);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(log_).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(lines().size(), 1);
}

TEST_F(LogFile, IsNotWrittenThroughALinkOrIntoAnythingButAPlainFile)
{
    // Another's file, reached by a symbolic link, by a dangling link and by a second (hard) name.
    const QString target = dir_.filePath("other/root-owned.txt");
    ASSERT_TRUE(QDir().mkpath(dir_.filePath("other")));
    {
        QFile file(target);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("precious\n");
    }
    const QString capture = dir_.filePath("stderr.txt");
    ASSERT_TRUE(QFile::link(target, log_));
    const QString said = stderrOf(capture, [] {
        host::f_log("登录成功: 操作员 E001");
        host::f_log("退出");
    });
    EXPECT_EQ(contents(target), "precious\n");
    EXPECT_TRUE(said.contains("日志文件 " + log_ + " 是符号链接, 不写日志")) << said.toStdString();
    EXPECT_EQ(said.count("日志文件"), 1) << said.toStdString();  // once, not at every line

    ASSERT_TRUE(QFile::remove(log_));
    const QString nowhere = dir_.filePath("other/created-through-the-link.txt");
    ASSERT_TRUE(QFile::link(nowhere, log_));
    stderrOf(capture, [] { host::f_log("x"); });
    EXPECT_FALSE(QFile::exists(nowhere));

    ASSERT_TRUE(QFile::remove(log_));
    ASSERT_EQ(::link(QFile::encodeName(target).constData(), QFile::encodeName(log_).constData()), 0);
    const QString hard = stderrOf(capture, [] { host::f_log("x"); });
    EXPECT_EQ(contents(target), "precious\n");
    EXPECT_TRUE(hard.contains("有其他硬链接")) << hard.toStdString();

    // A pipe in its place neither blocks the program nor is written.
    ASSERT_TRUE(QFile::remove(log_));
    ASSERT_EQ(::mkfifo(QFile::encodeName(log_).constData(), 0600), 0);
    stderrOf(capture, [] { host::f_log("x"); });

    // A plain file again: written.
    ASSERT_TRUE(QFile::remove(log_));
    host::f_log("退出");
    EXPECT_EQ(lines().size(), 1);
}

TEST_F(LogFile, EveryValueIsEscapedAndCutSoThatALineStaysReadable)
{
    // An operator id of 100,000 characters with a right-to-left override, as
    // typed into the login's id field.
    host::gs_user_id = QString(QChar(0x202e)) + QString(100000, 'x');
    host::f_log(QString::fromUtf16(u"登录失败: 操作员 E\u202e1\u2066, ") + QString(300, 'y'));
    const QStringList written = lines();
    ASSERT_EQ(written.size(), 1);
    const QString& line = written.first();
    EXPECT_LT(line.size(), 700) << line.size();
    EXPECT_TRUE(line.contains("\\u202e" + QString(255, 'x') + "…(共100001字符) ")) << line.toStdString();
    EXPECT_TRUE(line.contains("E\\u202e1\\u2066, yyy")) << line.toStdString();
    EXPECT_TRUE(line.endsWith("y…(共" + QString::number(QStringLiteral("登录失败: 操作员 E.1., ").size() + 300)
                              + "字符)"))
        << line.toStdString();
    for (const QChar c : line)
        EXPECT_NE(c.category(), QChar::Other_Format) << std::hex << unsigned(c.unicode());

    // A change: each value is cut, the statement and the other values stay whole.
    host::gs_user_id = "admin";
    EXPECT_EQ(host::describeChange("update s_employee set name = ? where id = ?", {QString(1000, 'n'), "E001"}),
              "update s_employee set name = ? where id = ? [\"" + QString(256, 'n') + "…(共1000字符)\", \"E001\"]");
}

TEST(LogEscape, FormatCharactersAndLoneSurrogatesAreEscapedOtherTextIsNot)
{
    EXPECT_EQ(host::escapeForLog(QString::fromUtf16(u"a\u202eb\u200bc\ufeffd\u00ade")),
              "a\\u202eb\\u200bc\\ufeffd\\u00ade");
    // A format character outside the basic plane (a tag), and half a pair.
    EXPECT_EQ(host::escapeForLog(QString::fromUcs4(U"x\U000E0041y")), "x\\U000e0041y");
    EXPECT_EQ(host::escapeForLog(QString(QChar(0xd800)) + "z"), "\\ud800z");
    // Letters of any plane stay as they are.
    const QString text = QString::fromUcs4(U"张伟 \U00020BB7 café");
    EXPECT_EQ(host::escapeForLog(text), text);

    // A pair of surrogates is one character: never cut in half, counted once.
    const QString wide = QString::fromUcs4(U"\U00020BB7").repeated(300);
    const QString cut = host::shortenForLog(wide);
    EXPECT_EQ(cut, QString::fromUcs4(U"\U00020BB7").repeated(256) + "…(共300字符)");
    EXPECT_EQ(host::shortenForLog(QString(256, 'a')), QString(256, 'a'));
}

}  // namespace
