// kestrova-cli on damaged catalogues and with several copies writing one catalogue.
#include "clitest.h"
#include "testenv.h"

#include "store/catalogue.h"
#include "store/dbf/companion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <functional>
#include <linux/capability.h>
#include <sys/prctl.h>
#include <unistd.h>

using kvtest::runCli;

namespace {

QByteArray withBytes(QByteArray b, int at, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        b[at + i] = char(value >> (8 * i));
    return b;
}

int le16(const QByteArray &b, int at) { return std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8; }

} // namespace

TEST(CliSafety, ADamagedHeaderIsReportedByCheckAndNoCommandWritesTheFile)
{
    const QString db = kvtest::tempPath(QStringLiteral("VIDEOS.DBF"));
    ASSERT_EQ(runCli({"new", db}).exitCode, 0);
    for (const char *title : {"a", "b"})
        ASSERT_EQ(runCli({"add", db, QStringLiteral("Title=") + QLatin1String(title)}).exitCode, 0);
    const QByteArray good = kvtest::readFile(db);
    const std::uint32_t header = std::uint32_t(le16(good, 8));
    constexpr int kYear = 32 + 32 * 10; // the descriptor of Year
    const struct {
        const char *name;
        QByteArray content;
    } cases[] = {
        {"record length", withBytes(good, 10, 65535, 2)},
        {"header length short", withBytes(good, 8, header - 32, 2)},
        {"header length long", withBytes(good, 8, header + 32, 2)},
        {"header length one byte long", withBytes(good, 8, header + 1, 2)},
        {"memo field", withBytes(good, 32 + 11, 'M', 1)},
        {"200 decimals on Year", withBytes(good, kYear + 17, 200, 1)},
        {"count beyond the file", withBytes(good, 4, 7, 4)},
    };
    const QString old = kvtest::tempPath(QStringLiteral("OLD.DBF"));
    const QString text = kvtest::tempPath(QStringLiteral("IN.TXT"));
    kvtest::writeFile(text, "\"Title\"\r\n\"c\"\r\n");
    for (const auto &c : cases) {
        kvtest::writeFile(db, c.content);
        const kvtest::ProcessResult check = runCli({"check", db});
        EXPECT_EQ(check.exitCode, 1) << c.name;
        EXPECT_TRUE(check.err.contains("is damaged: ")) << c.name << ": " << check.err.toStdString();
        const QList<QStringList> writes = {{"add", db, "Title=c"}, {"delete", db, "1"},  {"pack", db},
                                           {"reindex", db},        {"sort", db, "1"},    {"replace", db, "Title", "a", "z"},
                                           {"set", db, "1", "Title=z"}, {"import", db, text}};
        for (const QStringList &w : writes) {
            const kvtest::ProcessResult r = runCli(w);
            EXPECT_EQ(r.exitCode, 1) << c.name << ": " << w[0].toStdString();
            EXPECT_TRUE(r.err.contains("is damaged: ")) << c.name << ": " << w[0].toStdString() << ": " << r.err.toStdString();
            EXPECT_EQ(kvtest::readFile(db), c.content) << c.name << ": " << w[0].toStdString();
        }
        EXPECT_EQ(runCli({"list", db, "--physical"}).exitCode, 0) << c.name;
        EXPECT_FALSE(QFile::exists(kv::mdxPathFor(db))) << c.name;

        // A damaged source is not converted; the target stays as it was.
        QFile::remove(old);
        ASSERT_TRUE(QFile::copy(db, old));
        kvtest::writeFile(db, good);
        const kvtest::ProcessResult convert = runCli({"convert", old, db});
        EXPECT_EQ(convert.exitCode, 1) << c.name;
        EXPECT_TRUE(convert.err.contains("is damaged: ")) << c.name << ": " << convert.err.toStdString();
        EXPECT_EQ(kvtest::readFile(db), good) << c.name;
    }
}

// A dBASE source whose header disagrees with its file is not imported as nothing: the
// import says why and changes nothing.
TEST(CliSafety, ImportOfADamagedSourceSaysWhy)
{
    const QString db = kvtest::tempPath(QStringLiteral("VIDEOS.DBF"));
    const QString source = kvtest::tempPath(QStringLiteral("SOURCE.DBF"));
    ASSERT_EQ(runCli({"new", db}).exitCode, 0);
    ASSERT_EQ(runCli({"new", source}).exitCode, 0);
    ASSERT_EQ(runCli({"add", source, "Title=a"}).exitCode, 0);
    kvtest::writeFile(source, withBytes(kvtest::readFile(source), 10, 65535, 2));
    const QByteArray before = kvtest::readFile(db);
    const kvtest::ProcessResult r = runCli({"import", db, source});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("is damaged: its record length (65535 bytes)")) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    EXPECT_EQ(kvtest::readFile(db), before);
}

TEST(CliSafety, AddRefusesAValueWithCharactersTheCodePageCannotHold)
{
    const QString db = kvtest::tempPath(QStringLiteral("VIDEOS.DBF"));
    ASSERT_EQ(runCli({"new", db}).exitCode, 0);
    const kvtest::ProcessResult plain = runCli({"add", db, QString::fromUtf8("Title=Amélie")});
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_TRUE(plain.err.isEmpty()) << plain.err.toStdString();
    const kvtest::ProcessResult lossy = runCli({"add", db, QStringLiteral("Star1=Plain"), QString::fromUtf8("Title=Ωmega")});
    EXPECT_EQ(lossy.exitCode, 1);
    EXPECT_EQ(QString::fromUtf8(lossy.err.trimmed()),
              QString::fromUtf8("The character \"Ω\" (U+03A9) in Title cannot be stored in the catalogue.  Please correct."));
    // Nothing of the refused record is written.
    EXPECT_EQ(titles(runCli({"list", db, "--physical"}).out), (QStringList{QString::fromUtf8("Amélie")}));
}

TEST(CliSafety, CheckWalksTheIndexAgainstTheRecords)
{
    const QString db = kvtest::tempPath(QStringLiteral("VIDEOS.DBF"));
    ASSERT_EQ(runCli({"new", db}).exitCode, 0);
    for (const char *title : {"c", "a", "b"})
        ASSERT_EQ(runCli({"add", db, QStringLiteral("Title=") + QLatin1String(title)}).exitCode, 0);
    ASSERT_EQ(runCli({"sort", db, "1"}).exitCode, 0);
    const kvtest::ProcessResult sound = runCli({"check", db});
    EXPECT_EQ(sound.exitCode, 0) << sound.err.toStdString();
    EXPECT_TRUE(sound.err.isEmpty()) << sound.err.toStdString();

    // The first two records change places behind the index's back.
    QByteArray bytes = kvtest::readFile(db);
    const int header = le16(bytes, 8), length = le16(bytes, 10);
    const QByteArray first = bytes.mid(header, length);
    bytes.replace(header, length, bytes.mid(header + length, length));
    bytes.replace(header + length, length, first);
    kvtest::writeFile(db, bytes);
    const kvtest::ProcessResult unsound = runCli({"check", db});
    EXPECT_EQ(unsound.exitCode, 1);
    EXPECT_TRUE(unsound.err.contains("does not match its table")) << unsound.err.toStdString();
}

TEST(CliSafety, ARefusedSortOrderGivesTheReasonOnASecondLine)
{
    // Root writes a file whatever its mode; the programs started from here may not.
    if (::geteuid() == 0) {
        ASSERT_EQ(::prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE, 0, 0, 0), 0);
    }
    const QString db = kvtest::tempPath(QStringLiteral("VIDEOS.DBF"));
    const QString ini = kvtest::tempPath(QStringLiteral("VIDEOS.INI"));
    const struct {
        const char *name;
        std::function<void()> block;
        const char *reason;
        bool tableUntouched;
    } cases[] = {
        {"read-only table", [&] { QFile::setPermissions(db, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther); },
         "is read only", true},
        {"settings file cannot be written",
         [&] {
             QFile::remove(ini);
             QDir().mkdir(ini);
         },
         "directory", false},
    };
    for (const auto &c : cases) {
        QFile::setPermissions(db, QFile::ReadOwner | QFile::WriteOwner);
        QFile::remove(db);
        QFile::remove(kv::mdxPathFor(db));
        QDir().rmdir(ini);
        QFile::remove(ini);
        ASSERT_EQ(runCli({"new", db}).exitCode, 0);
        for (const char *title : {"b", "a"})
            ASSERT_EQ(runCli({"add", db, QStringLiteral("Title=") + QLatin1String(title)}).exitCode, 0);
        c.block();
        const QByteArray before = kvtest::readFile(db);
        const kvtest::ProcessResult r = runCli({"sort", db, "1"});
        EXPECT_EQ(r.exitCode, 1) << c.name;
        const QList<QByteArray> lines = r.err.trimmed().split('\n');
        ASSERT_EQ(lines.size(), 2) << c.name << ": " << r.err.toStdString();
        EXPECT_EQ(lines[0], QByteArray(kv::kSortFailedMessage)) << c.name;
        EXPECT_TRUE(lines[1].contains(c.reason)) << c.name << ": " << lines[1].toStdString();
        if (c.tableUntouched) {
            EXPECT_EQ(kvtest::readFile(db), before) << c.name;
        }
        EXPECT_EQ(titles(runCli({"list", db}).out), (QStringList{"b", "a"})) << c.name << ": the order stays physical";
    }
}

// A catalogue whose index lists fewer entries than it has records, or a record twice:
// check says so; a writer rebuilds it from the records first and says that too, and
// leaves it sound. Where it cannot be rebuilt, the write is refused and changes nothing.
TEST(CliSafety, WritersRebuildAnIndexThatDoesNotListTheRecordsAndSaySo)
{
    const QString db = kvtest::tempPath(QStringLiteral("VIDEOS.DBF"));
    const QString mdx = kv::mdxPathFor(db);
    ASSERT_EQ(runCli({"new", db}).exitCode, 0);
    ASSERT_EQ(runCli({"sort", db, "1"}).exitCode, 0);
    QByteArray sixteen;
    for (int i = 1; i <= 31; ++i) {
        ASSERT_EQ(runCli({"add", db, QStringLiteral("Title=t%1").arg(i, 2, 10, QLatin1Char('0'))}).exitCode, 0);
        if (i == 16)
            sixteen = kvtest::readFile(mdx);
    }
    const QByteArray table = kvtest::readFile(db), sound = kvtest::readFile(mdx);
    QByteArray repeated = sound;
    const qsizetype ten = repeated.indexOf("T10 "), eleven = repeated.indexOf("T11 ");
    ASSERT_GT(ten, 0);
    repeated.replace(eleven - 4, 4, repeated.mid(ten - 4, 4));
    const QString old = kvtest::copyFixture(QStringLiteral("store/V2LOG.DBF"));
    const QString text = kvtest::tempPath(QStringLiteral("IN.TXT"));
    kvtest::writeFile(text, "\"Title\"\r\n\"new\"\r\n");
    const struct {
        const char *name;
        QByteArray index;
        const char *says;
    } cases[] = {
        {"16 entries for 31 records", sixteen, "the tag NEWINDEX lists 16 entries for 31 records."},
        {"a record number repeated", repeated, "the tag NEWINDEX lists record 10 wrongly."},
    };
    const QList<QStringList> writes = {{"add", db, "Title=new"}, {"import", db, text}, {"convert", old, db},
                                       {"set", db, "new", "Title=new"}, {"delete", db, "1"}};
    for (const auto &c : cases) {
        for (const QStringList &w : writes) {
            kvtest::writeFile(db, table);
            kvtest::writeFile(mdx, c.index);
            const kvtest::ProcessResult check = runCli({"check", db});
            EXPECT_EQ(check.exitCode, 1) << c.name;
            EXPECT_TRUE(check.err.contains(c.says)) << c.name << ": " << check.err.toStdString();
            const kvtest::ProcessResult r = runCli(w);
            EXPECT_EQ(r.exitCode, 0) << c.name << ": " << w[0].toStdString() << ": " << r.err.toStdString();
            EXPECT_TRUE(r.err.contains(QByteArray(c.says) + "  It was rebuilt from the records."))
                << c.name << ": " << w[0].toStdString() << ": " << r.err.toStdString();
            const kvtest::ProcessResult after = runCli({"check", db});
            EXPECT_EQ(after.exitCode, 0) << c.name << ": " << w[0].toStdString() << ": " << after.err.toStdString();
        }
    }

    // An index that cannot be written again: the write is refused before anything changes.
    if (::geteuid() == 0) {
        ASSERT_EQ(::prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE, 0, 0, 0), 0);
    }
    kvtest::writeFile(db, table);
    kvtest::writeFile(mdx, sixteen);
    const QString dir = QFileInfo(db).absolutePath();
    const QFile::Permissions was = QFile::permissions(dir);
    ASSERT_TRUE(QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner));
    for (const QStringList &w : writes) {
        const kvtest::ProcessResult r = runCli(w);
        EXPECT_EQ(r.exitCode, 1) << w[0].toStdString();
        EXPECT_TRUE(r.err.contains("lists 16 entries for 31 records.")) << w[0].toStdString() << ": " << r.err.toStdString();
        EXPECT_EQ(kvtest::readFile(db), table) << w[0].toStdString();
        EXPECT_EQ(kvtest::readFile(mdx), sixteen) << w[0].toStdString();
    }
    QFile::setPermissions(dir, was);
}
