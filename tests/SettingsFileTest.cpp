#include "PortsConf.h"
#include "SerialLine.h"
#include "SettingsStore.h"
#include "SignPorts.h"
#include "Startup.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <future>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace lumawrite;
using lumawrite::test::RecordingNotifier;
using lumawrite::test::TempSettings;

namespace {

// The bytes of a file written from the defaults; the address is compared as text, never sent to.
const QByteArray DefaultFile = "\"192.168.1.151\"\r\n"
                               "2000\r\n"
                               "20\r\n"
                               "1\r\n"
                               "1\r\n"
                               "10\r\n"
                               "-1\r\n" // no typeface chosen: the text typeface
                               "19\r\n"
                               "1\r\n"
                               "0\r\n"
                               "0\r\n"
                               "0\r\n"
                               "-2\r\n"
                               "\"Vireline Signs Ltd., Unit 3, 14 Harbour Lane, Port Ellis, "
                               "Westmoor PE4 2QJ, England    \"\r\n";

// Lines 1 to 13 of a valid file with the given message line appended.
QByteArray fileWithMessageLine(const QByteArray &messageLine)
{
    return "\"127.0.0.1\"\r\n2001\r\n7\r\n2\r\n3\r\n4\r\n0\r\n24\r\n0\r\n1\r\n1\r\n0\r\n5\r\n" +
           messageLine;
}

Settings roundTrip(const Settings &s)
{
    TempSettings file;
    EXPECT_TRUE(file.store().SaveSettings(s).isEmpty());
    Settings back;
    EXPECT_TRUE(file.store().LoadSettings(back).isEmpty());
    return back;
}

// Runs the call on a thread of its own; true when it returned within two seconds. A call still
// waiting to open the FIFO for reading is then let go by a writer opening it.
bool returnsAtOnce(const QString &fifo, const std::function<void()> &call)
{
    auto done = std::async(std::launch::async, call);
    const bool atOnce = done.wait_for(std::chrono::seconds(2)) == std::future_status::ready;
    if (!atOnce)
        ::close(::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK));
    return atOnce;
}

} // namespace

TEST(SettingsFile, FirstRunWritesExactlyTheDefaultLines)
{
    TempSettings file;
    Settings s;
    const StartupOutcome outcome = loadOrRecover(file.store(), s);
    EXPECT_TRUE(outcome.recovered);
    EXPECT_TRUE(outcome.saveError.isEmpty());
    EXPECT_EQ(file.read(), DefaultFile);
    EXPECT_EQ(s, defaultSettings());
    EXPECT_EQ(QString::fromLatin1(DefaultMessageText).size(), 87);
}

TEST(SettingsFile, UnreadableFilesRecoverTheDefaults)
{
    const QByteArray valid = fileWithMessageLine("\"Menu\"\r\n");
    const QList<QByteArray> unreadable = {
        valid.left(valid.lastIndexOf("\"Menu\"")),           // thirteen lines only
        QByteArray(valid).replace("2001\r\n", "40000\r\n"),  // above 32767
        QByteArray(valid).replace("2001\r\n", "-32769\r\n"), // below -32768
        QByteArray(valid).replace("\r\n24\r\n", "\r\nbig\r\n"),
        QByteArray(valid).replace("\r\n24\r\n", "\r\n24pt\r\n"),
        QByteArray(valid).replace("\r\n24\r\n", "\r\n\r\n"), // empty numeric line
        QByteArray(),
    };
    for (const QByteArray &content : unreadable) {
        TempSettings file;
        file.write(content);
        Settings s = lumawrite::test::safeSettings();
        const StartupOutcome outcome = loadOrRecover(file.store(), s);
        EXPECT_TRUE(outcome.recovered) << content.constData();
        EXPECT_EQ(s, defaultSettings()) << content.constData();
        EXPECT_EQ(file.read(), DefaultFile) << content.constData();
    }

    {
        // A file above 1 MiB is not read in part: it is kept aside whole, like any unreadable one.
        TempSettings file;
        const QByteArray big = valid + QByteArray(1 << 20, ' ') + "end";
        file.write(big);
        Settings s = lumawrite::test::safeSettings();
        const StartupOutcome outcome = loadOrRecover(file.store(), s);
        EXPECT_EQ(outcome.unreadable, QStringLiteral("it is larger than 1 MiB"));
        EXPECT_EQ(outcome.keptAs, unreadableCopyPath(file.path()));
        QFile kept(outcome.keptAs);
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), big);
        EXPECT_EQ(file.read(), DefaultFile);
    }

    TempSettings file;
    file.write(valid);
    Settings s;
    EXPECT_FALSE(loadOrRecover(file.store(), s).recovered);
    EXPECT_EQ(s.LocalPort, 2001);
    EXPECT_EQ(s.Offset, 5);
    EXPECT_EQ(s.MessageText, QStringLiteral("Menu"));
}

TEST(SettingsFile, ValuesRoundTripByteForByte)
{
    Settings s = lumawrite::test::safeSettings();
    s.Offset = -2;
    s.LocalPort = -32768;
    s.FontSize = 32767;
    s.MessageText = QStringLiteral("Fish, chips, peas, 2.50");
    TempSettings file;
    ASSERT_TRUE(file.store().SaveSettings(s).isEmpty());
    const QByteArray bytes = file.read();
    EXPECT_TRUE(bytes.contains("\r\n-2\r\n\"Fish, chips, peas, 2.50\"\r\n"));
    EXPECT_TRUE(bytes.startsWith("\"127.0.0.1\"\r\n-32768\r\n"));
    EXPECT_EQ(roundTrip(s), s);

    // Quotes and line breaks inside the message, a quote just before a line break included.
    for (const char *message :
         {"Say \"cheese\"", "\"", "\"\"", "Line one\r\nLine two", "He said \"hi\"\r\nthen left",
          "a,\"b\",c\r\n\"d\"", " spaced ", "", "a\" \r\nb", "a\",x\r\nb", "x\" ", "y\"\t", "z\",",
          "\"\r\n\" \r\n\","}) {
        s.MessageText = QString::fromUtf8(message);
        EXPECT_EQ(roundTrip(s).MessageText, s.MessageText) << message;
    }
}

TEST(SettingsFile, OnlyBlanksOrACommaMayFollowTheClosingQuote)
{
    TempSettings file;
    Settings s;
    for (const char *line :
         {"\"Hello\" \r\n", "\"Hello\"\t\r\n", "\"Hello\" ,x\r\n", "\"Hello\"  "}) {
        file.write(fileWithMessageLine(line));
        ASSERT_TRUE(file.store().LoadSettings(s).isEmpty()) << line;
        ASSERT_TRUE(file.store().SaveSettings(s).isEmpty());
        EXPECT_EQ(file.read(), fileWithMessageLine("\"Hello\"\r\n")) << line;
    }
    // Anything else after a quote keeps it in the message.
    file.write(fileWithMessageLine("\"Hello\" x\r\n"));
    ASSERT_TRUE(file.store().LoadSettings(s).isEmpty());
    EXPECT_EQ(s.MessageText, QStringLiteral("Hello\" x"));
}

TEST(SettingsFile, TextIsWindows1252UnlessItCannotBe)
{
    Settings s = lumawrite::test::safeSettings();
    s.MessageText = QStringLiteral("Caf\u00e9 \u20ac5");
    TempSettings file;
    ASSERT_TRUE(file.store().SaveSettings(s).isEmpty());
    EXPECT_TRUE(file.read().endsWith("\"Caf\xE9 \x80"
                                     "5\"\r\n"));
    EXPECT_EQ(roundTrip(s), s);

    // Characters outside the code page: UTF-8 behind a byte order mark, read back unchanged.
    s.MessageText = QStringLiteral("Sushi \u5bff\u53f8 \u00e9");
    ASSERT_TRUE(file.store().SaveSettings(s).isEmpty());
    const QByteArray bytes = file.read();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF\"127.0.0.1\"\r\n"));
    EXPECT_TRUE(bytes.endsWith("\"Sushi \xE5\xAF\xBF\xE5\x8F\xB8 \xC3\xA9\"\r\n"));
    EXPECT_EQ(roundTrip(s), s);

    // Bytes that happen to form UTF-8 in a file without the mark are still Windows-1252.
    TempSettings plain;
    plain.write(fileWithMessageLine("\"\xC3\xA9\"\r\n"));
    Settings read;
    ASSERT_TRUE(plain.store().LoadSettings(read).isEmpty());
    EXPECT_EQ(read.MessageText, QStringLiteral("\u00c3\u00a9"));
}

TEST(SettingsFile, ExtraLinesAndLooseFormsAreRead)
{
    TempSettings file;
    file.write(fileWithMessageLine("\"Menu\"\r\nextra line\r\n12\r\n"));
    Settings s;
    ASSERT_TRUE(file.store().LoadSettings(s).isEmpty());
    EXPECT_EQ(s.MessageText, QStringLiteral("Menu"));
    EXPECT_EQ(s.Speed, 4);

    // Lines ending in LF alone, a missing final line end, blanks around numbers.
    file.write("\"127.0.0.1\"\n 2001 \n7\n2\n3\n4\n0\n24\n0\n1\n1\n0\n-5\n\"Menu\"");
    ASSERT_TRUE(file.store().LoadSettings(s).isEmpty());
    EXPECT_EQ(s.LocalPort, 2001);
    EXPECT_EQ(s.Offset, -5);
    EXPECT_EQ(s.MessageText, QStringLiteral("Menu"));

    // A comma ends an unquoted value, as it always has.
    file.write("\"127.0.0.1\"\r\n2001,7\r\n2\r\n3\r\n4\r\n0\r\n24\r\n0\r\n1\r\n1\r\n0\r\n5\r\n"
               "\"Menu\"\r\n");
    ASSERT_TRUE(file.store().LoadSettings(s).isEmpty());
    EXPECT_EQ(s.LocalPort, 2001);
    EXPECT_EQ(s.SerialAddress, 7);

    // A message whose closing quote was lost keeps its text.
    file.write(fileWithMessageLine("\"Open till 9\r\n"));
    ASSERT_TRUE(file.store().LoadSettings(s).isEmpty());
    EXPECT_EQ(s.MessageText, QStringLiteral("Open till 9"));
}

TEST(SettingsFile, FailedSaveKeepsTheOldFile)
{
    TempSettings file;
    Settings old = lumawrite::test::safeSettings();
    ASSERT_TRUE(file.store().SaveSettings(old).isEmpty());
    const QByteArray before = file.read();

    // Let the process write no file larger than 16 bytes, as a full disk would.
    Settings changed = old;
    changed.MessageText = QStringLiteral("This message will not fit");
    QString error;
    {
        lumawrite::test::FileSizeLimit limit(16);
        error = file.store().SaveSettings(changed);
    }

    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(error.contains(file.path())) << error.toStdString();
    EXPECT_EQ(file.read(), before);

    // A folder that cannot be created is reported, not ignored.
    SettingsStore blocked(file.path() + QStringLiteral("/inside/tabro.cfg"));
    EXPECT_FALSE(blocked.SaveSettings(old).isEmpty());
    EXPECT_EQ(file.read(), before);
}

TEST(SettingsFile, StartupKeepsDefaultsInMemoryWhenTheyCannotBeWritten)
{
    TempSettings file;
    file.write(QByteArray("not a settings file"));
    SettingsStore blocked(file.path() + QStringLiteral("/inside/tabro.cfg"));
    Settings s = lumawrite::test::safeSettings();
    const StartupOutcome outcome = loadOrRecover(blocked, s);
    EXPECT_TRUE(outcome.recovered);
    EXPECT_FALSE(outcome.saveError.isEmpty());
    EXPECT_EQ(s, defaultSettings());
}

TEST(SettingsFile, OnlyARegularFileIsReadOrWritten)
{
    TempSettings file;
    const QDir dir(QFileInfo(file.path()).absolutePath());
    const QString fifo = dir.filePath("pipe"), folder = dir.filePath("folder");
    const QString missing = dir.filePath("missing"), real = dir.filePath("real.cfg");
    ASSERT_TRUE(dir.mkpath(folder));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);

    // In the file's place a FIFO, or a link to a FIFO, a folder or nothing: start-up goes on at
    // once with the defaults, says it cannot save, names the file and changes nothing.
    for (const QString &target : {QString(), fifo, folder, missing}) {
        QFile::remove(file.path());
        ASSERT_TRUE(target.isEmpty()
                        ? ::mkfifo(QFile::encodeName(file.path()).constData(), 0600) == 0
                        : QFile::link(target, file.path()));
        RecordingNotifier notifier;
        modMain shared;
        EXPECT_TRUE(returnsAtOnce(target.isEmpty() ? file.path() : fifo, [&] {
            app::startUp(file.store(), shared, notifier);
        })) << target.toStdString();
        EXPECT_EQ(notifier.count("Settings Not Saved"), 1) << target.toStdString();
        EXPECT_TRUE(notifier.messages.value(0).text.contains(file.path()));
        EXPECT_EQ(shared.settings, defaultSettings());
        const QFileInfo info(file.path());
        EXPECT_EQ(info.symLinkTarget(), target);
        EXPECT_FALSE(info.isFile() || QFileInfo(fifo).isFile() || QFileInfo::exists(missing))
            << target.toStdString();
        EXPECT_TRUE(QDir(folder).isEmpty());
    }

    // A link to a regular file is followed, as editors do: the file is read and replaced, the
    // link stays.
    QFile::remove(file.path());
    file.write(fileWithMessageLine("\"Menu\"\r\n"));
    ASSERT_TRUE(QFile::rename(file.path(), real) && QFile::link(real, file.path()));
    Settings s;
    ASSERT_TRUE(file.store().LoadSettings(s).isEmpty());
    EXPECT_EQ(s.MessageText, QStringLiteral("Menu"));
    s.MessageText = QStringLiteral("Lunch");
    ASSERT_TRUE(file.store().SaveSettings(s).isEmpty());
    EXPECT_EQ(QFileInfo(file.path()).symLinkTarget(), real);
    EXPECT_EQ(file.read(), fileWithMessageLine("\"Lunch\"\r\n"));
}

TEST(SettingsFile, ASaveWritesOnlyItsOwnFieldsOverAnotherProgramsSave)
{
    TempSettings file;
    file.write(fileWithMessageLine("\"Menu\"\r\n"));
    Settings s;
    ASSERT_TRUE(file.store().LoadSettings(s).isEmpty());

    // The file as last read: the whole record is written, as always.
    s.Speed = 9;
    s.MessageText = QStringLiteral("Soup");
    ASSERT_TRUE(file.store().SaveFields(s, SettingsField::MainWindow).isEmpty());
    EXPECT_EQ(file.read(),
              "\"127.0.0.1\"\r\n2001\r\n7\r\n2\r\n3\r\n9\r\n0\r\n24\r\n0\r\n1\r\n1\r\n0\r\n5\r\n"
              "\"Soup\"\r\n");

    // Another program saved meanwhile: its values stay, the main window's go over them, and the
    // record in memory becomes the one written.
    const QByteArray other =
        "\"127.0.0.2\"\r\n2002\r\n8\r\n1\r\n4\r\n5\r\n2\r\n30\r\n1\r\n0\r\n0\r\n1\r\n-3\r\n"
        "\"Pie\"\r\n";
    file.write(other);
    s.LocalPort = 3000;
    ASSERT_TRUE(file.store().SaveFields(s, SettingsField::MainWindow).isEmpty());
    const QByteArray merged =
        "\"127.0.0.2\"\r\n3000\r\n7\r\n2\r\n3\r\n9\r\n2\r\n30\r\n1\r\n0\r\n0\r\n1\r\n-3\r\n"
        "\"Pie\"\r\n";
    EXPECT_EQ(file.read(), merged);
    EXPECT_EQ(encodeSettings(s), merged);

    // A changed file that cannot be read is written whole.
    file.write("damaged");
    s.MessageText = QStringLiteral("Soup");
    ASSERT_TRUE(file.store().SaveFields(s, SettingsField::MainWindow).isEmpty());
    EXPECT_EQ(file.read(), QByteArray(merged).replace("Pie", "Soup"));
}

TEST(SettingsFile, LocationFollowsTheConfigurationFolder)
{
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(settingsFilePath(),
              QString::fromUtf8(config) + QStringLiteral("/lumawrite/tabro.cfg"));
}

TEST(PortsConf, MappingsCommentsBlanksAndUnreadableLinesByNumber)
{
    const char text[] = "# the adapters of the shop window\n"                           // 1
                        "COM 1 = /dev/serial/by-id/usb-FTDI_FT232R_A12345-if00-port0\n" // 2
                        "  com3=/dev/ttyUSB1   # the spare\r\n"                         // 3
                        "Com12\t=\t/dev/serial/by-path/usb-0:2#1\n"                     // 4
                        "\n"                                                            // 5
                        "COM 4 /dev/ttyUSB2\n"                                          // 6
                        "PORT 5 = /dev/ttyUSB3\n"                                       // 7
                        "COM 0 = /dev/ttyUSB4\n"                                        // 8
                        "COM 251 = /dev/ttyUSB5\n"                                      // 9
                        "COM 6 =   # nothing yet\n"                                     // 10
                        "COM 7 = dev/ttyUSB6\n"                                         // 11
                        "COM 3 = /dev/ttyUSB9\n"                                        // 12
                        "COM 8 = /dev/tty\0USB7";                                       // 13
    PortsConf conf = parsePortsConf(QByteArray(text, sizeof text - 1));
    // The paths are read as text only: the parser never opens a device.
    const QMap<int, QString> devices{
        {1, QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_A12345-if00-port0")},
        {3, QStringLiteral("/dev/ttyUSB1")},
        {12, QStringLiteral("/dev/serial/by-path/usb-0:2#1")}}; // "#" inside a path stays
    EXPECT_EQ(conf.devices, devices);

    const std::pair<int, const char *> problems[] = {
        {6, "there is no \"=\" (write COM n = /dev/...); the line is ignored"},
        {7, "\"PORT 5\" is not a COM number; the line is ignored"},
        {8, "COM 0 is not one of COM 1 to COM 250; the line is ignored"},
        {9, "COM 251 is not one of COM 1 to COM 250; the line is ignored"},
        {10, "there is no device path after \"=\"; the line is ignored"},
        {11, "\"dev/ttyUSB6\" is not an absolute path; the line is ignored"},
        {12, "COM 3 was already given on line 3; the line is ignored"},
        {13, "\"/dev/tty\\x00USB7\" holds a NUL character; the line is ignored"}};
    ASSERT_EQ(conf.problems.size(), std::size(problems));
    for (std::size_t i = 0; i < std::size(problems); ++i) {
        EXPECT_EQ(conf.problems[i].line, problems[i].first);
        EXPECT_EQ(conf.problems[i].why, QString::fromUtf8(problems[i].second));
    }
    conf.path = QStringLiteral("/home/op/.config/lumawrite/ports.conf");
    EXPECT_TRUE(conf.report().startsWith(
        "/home/op/.config/lumawrite/ports.conf, line 6: there is no \"=\" (write COM n = "
        "/dev/...); the line is ignored\n/home/op/.config/lumawrite/ports.conf, line 7: "));
    EXPECT_EQ(conf.report().count('\n'), 7);
    EXPECT_TRUE(parsePortsConf("# nothing mapped\n\n   \n").problems.isEmpty());
}

TEST(PortsConf, OnlyARegularFileBesideTheSettingsIsReadAndAMissingOneIsNoProblem)
{
    TempSettings file;
    const QDir dir(QFileInfo(file.path()).absolutePath());
    ASSERT_TRUE(dir.mkpath("."));
    const QString conf = dir.filePath("ports.conf");
    EXPECT_EQ(portsConfBeside(file.path()), conf);

    // Missing: nothing mapped, nothing to report; every number goes to the fallback.
    platform::ComPorts ports = signs::comPortsBeside(file.path(), test::noSuchDevice);
    EXPECT_EQ(ports.resolver(2), QStringLiteral("/nonexistent/ttyTEST2"));
    EXPECT_TRUE(ports.report.isEmpty());

    // A FIFO, a folder, or a link to either is refused at once and reported; nothing is mapped.
    const QString fifo = dir.filePath("pipe"), folder = dir.filePath("folder");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(dir.mkpath(folder));
    const QString refused = conf + QStringLiteral(": it is neither a regular file nor a link to "
                                                  "one; no COM port is mapped by it");
    auto clear = [&] {
        ASSERT_TRUE(!QFileInfo(conf).exists() || QFile::remove(conf) || dir.rmdir(conf));
    };
    for (const QString &target : {QString(), fifo, folder, QStringLiteral("dir")}) {
        clear();
        if (target.isEmpty())
            ASSERT_EQ(::mkfifo(QFile::encodeName(conf).constData(), 0600), 0);
        else if (target == "dir")
            ASSERT_TRUE(dir.mkpath(conf));
        else
            ASSERT_TRUE(QFile::link(target, conf));
        EXPECT_TRUE(returnsAtOnce(target.isEmpty() ? conf : fifo, [&] {
            ports = signs::comPortsBeside(file.path());
        })) << target.toStdString();
        EXPECT_EQ(ports.report, refused) << target.toStdString();
        EXPECT_EQ(ports.resolver(2), QStringLiteral("/dev/ttyS1")); // the fixed table
    }

    // A regular file, or a link to one, maps its numbers over the fallback.
    clear();
    test::writeFile(dir.filePath("real.conf"), "COM 2 = /run/test/adapter\n");
    ASSERT_TRUE(QFile::link(dir.filePath("real.conf"), conf));
    ports = signs::comPortsBeside(file.path(), test::noSuchDevice);
    EXPECT_EQ(ports.resolver(2), QStringLiteral("/run/test/adapter"));
    EXPECT_EQ(ports.resolver(3), QStringLiteral("/nonexistent/ttyTEST3"));
    EXPECT_TRUE(ports.report.isEmpty());
    EXPECT_EQ(QFile(dir.filePath("real.conf")).size(), 26); // only read

    // A file above 1 MiB is refused whole, with one report, rather than read in part: a line
    // cut at the limit would map a shortened path.
    QByteArray big =
        QByteArray("# padding\n").repeated(104857) + "COM 2 = /run/test/adapter-long\n";
    ASSERT_GT(big.size(), 1 << 20);
    test::writeFile(dir.filePath("real.conf"), big);
    ports = signs::comPortsBeside(file.path(), test::noSuchDevice);
    EXPECT_EQ(ports.report, conf + QStringLiteral(": it is larger than 1 MiB; no COM port is "
                                                  "mapped by it"));
    EXPECT_EQ(ports.resolver(2), QStringLiteral("/nonexistent/ttyTEST2"));
}
