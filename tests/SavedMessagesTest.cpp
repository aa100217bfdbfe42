#include "SavedMessages.h"
#include "TestSupport.h"
#include "UploadHistory.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lumawrite;
using namespace lumawrite::signs;

namespace {

SavedMessage message(const QString &name, const QString &text, std::optional<int> size = {})
{
    SavedMessage m;
    m.name = name;
    m.text = text;
    m.choices.size = size;
    return m;
}

} // namespace

TEST(SavedMessages, KeptByNameWithTheirChoicesAndWhatOtherVersionsWrote)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("messages.json");
    // A file of another version: a key of its own at the top and in a message, a message that
    // does not fit (size 99), one given twice.
    test::writeFile(path, R"({"version": 2, "messages": [
        {"name": "Open", "text": "Open", "font": "DejaVu Sans", "size": 24, "bold": true,
         "offset": -2, "colour": "red"},
        {"name": "Big", "text": "Big", "size": 99},
        {"name": "Open", "text": "Second Open"}]})");
    SavedMessagesRead read = readSavedMessages(test::readFile(path));
    ASSERT_EQ(read.messages.size(), 1);
    const SavedMessage open = read.messages[0];
    EXPECT_EQ(open.choices.font, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(open.choices.size, 24);
    EXPECT_EQ(open.choices.bold, true);
    EXPECT_EQ(open.choices.italic, std::nullopt); // left out: the stored choice counts
    EXPECT_EQ(open.choices.offset, -2);
    EXPECT_EQ(read.skipped, QStringList({"\"Big\": \"size\" is not a whole number from 6 to 60",
                                         "\"Open\" is given twice; the first counts"}));

    // Saving another name keeps the unknown keys, in the file and in "Open".
    SavedMessages store(path);
    SavedMessage lunch = message("Closed for lunch", "Closed\nfor lunch", 14);
    lunch.choices.host =
        "127.0.0.9"; // not the message's own: not kept (a file test: nothing is sent)
    ASSERT_TRUE(store.save(lunch).ok());
    const QJsonObject file = QJsonDocument::fromJson(test::readFile(path)).object();
    EXPECT_EQ(file.value("version").toInt(), 2);
    QList<SavedMessage> all;
    ASSERT_EQ(store.load(all), QString());
    ASSERT_EQ(all.size(), 2);
    EXPECT_EQ(all[0].extra.value("colour").toString(), "red");
    lunch.choices.host.reset();
    EXPECT_EQ(all[1], lunch);

    // Run options win over the message's own; the rest comes from the message.
    Overrides run;
    run.size = 30;
    run.address = 7;
    const Overrides used = savedMessageChoices(open, run);
    EXPECT_EQ(used.size, 30);
    EXPECT_EQ(used.font, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(used.address, 7);

    // Rename and delete, and what they refuse.
    EXPECT_TRUE(store.rename("Open", "Open today").ok());
    EXPECT_EQ(store.rename("Open today", "Closed for lunch").error,
              "a message is already saved as \"Closed for lunch\"");
    EXPECT_EQ(store.remove("Open").error, "no message is saved as \"Open\"");
    EXPECT_TRUE(store.remove("Closed for lunch").ok());
    for (const QString &name : {QString(), QString(" pad"), QString("tab\there"), QString(65, 'x')})
        EXPECT_FALSE(store.save(message(name, "x")).ok()) << name.toStdString();
    ASSERT_EQ(store.load(all), QString());
    ASSERT_EQ(all.size(), 1);
    EXPECT_EQ(all[0].name, "Open today");
    EXPECT_EQ(all[0].extra.value("colour").toString(), "red");
}

TEST(SavedMessages, TwoProgramsSavingDifferentNamesKeepBothAndABrokenFileIsKeptAside)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("messages.json");
    SavedMessages window(path), script(path);
    // Each reads the file again under the lock before it writes: neither loses the other's.
    ASSERT_TRUE(window.save(message("Open", "Open")).ok());
    ASSERT_TRUE(script.save(message("Sale", "Sale today")).ok());
    ASSERT_TRUE(window.save(message("Open", "Open 9-18")).ok());
    QList<SavedMessage> all;
    ASSERT_EQ(script.load(all), QString());
    ASSERT_EQ(all.size(), 2);
    EXPECT_EQ(all[0].text, "Open 9-18");
    EXPECT_EQ(all[1].text, "Sale today");

    // A file that is not understood is told on reading and never replaced in silence: a save
    // keeps it aside, whole, and says so.
    test::writeFile(path, "{\"messages\": [ broken");
    EXPECT_TRUE(window.load(all).startsWith(path + " could not be read: invalid JSON at byte "));
    const SavedMessages::Change saved = window.save(message("Open", "Open"));
    ASSERT_TRUE(saved.ok()) << saved.error.toStdString();
    EXPECT_TRUE(saved.notice.endsWith("; it was kept as " + path + ".unreadable"));
    EXPECT_EQ(test::readFile(path + ".unreadable"), "{\"messages\": [ broken");
    ASSERT_EQ(window.load(all), QString());
    EXPECT_EQ(all.size(), 1);

    // A folder in its place is neither read nor replaced.
    ASSERT_TRUE(QFile::remove(path) && QDir(dir.path()).mkdir("messages.json"));
    EXPECT_FALSE(window.load(all).isEmpty());
    EXPECT_FALSE(window.save(message("Open", "Open")).ok());
}

TEST(UploadHistory, KeepsTheLastHundredNewestFirstAsTabSeparatedLines)
{
    QTemporaryDir dir;
    UploadHistory history(dir.filePath("state/lumawrite/history.json"));
    HistoryEntry e;
    e.at = QDateTime(QDate(2026, 12, 7), QTime(9, 0), Qt::UTC);
    e.link = "LAN";
    e.sign = "127.0.0.21 (address 20)"; // a label in the file only: nothing is sent
    e.choices.font = "DejaVu Sans";
    e.choices.bold = true;
    for (int i = 0; i < 103; ++i) {
        e.text = QStringLiteral("Message %1").arg(i);
        e.at = e.at.addSecs(60);
        e.framesSent = e.framesTotal = 8;
        ASSERT_EQ(history.add(e), QString());
    }
    e.text = "Line 3\tstopped\nnow";
    e.outcome = HistoryEntry::Outcome::Stopped;
    e.framesSent = 3;
    e.reason = "Stopped by the operator.";
    ASSERT_EQ(history.add(e), QString());

    QList<HistoryEntry> newest;
    ASSERT_EQ(history.read(newest), QString());
    ASSERT_EQ(newest.size(), 100);
    EXPECT_EQ(newest[0], e);
    EXPECT_EQ(newest[99].text, "Message 4");
    EXPECT_EQ(historyLine(newest[0]), "2026-12-07T10:43:00Z\tstopped\t3/8\tLAN\t127.0.0.21 "
                                      "(address 20)\tLine 3\\x09stopped\\x0anow");
    ASSERT_EQ(history.read(newest, 2), QString());
    EXPECT_EQ(newest.size(), 2);
}
