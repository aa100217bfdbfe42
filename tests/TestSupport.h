#pragma once

#include "Notifier.h"
#include "Services.h"
#include "Settings.h"
#include "SettingsStore.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QTemporaryDir>
#include <QUdpSocket>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

namespace lumawrite::ui {
class frmMain;
}

namespace lumawrite::test {

// Records what would have been shown in a message box.
class RecordingNotifier : public platform::Notifier {
public:
    struct Message {
        Kind kind;
        QString title;
        QString text;
    };
    void show(QWidget *, Kind kind, const QString &title, const QString &text) override
    {
        messages.append({kind, title, text});
    }
    int count(const QString &title) const;
    QList<Message> messages;
};

// While it lives, every message box that opens is noted (its title and where it stands) and
// closed with its OK button, as an operator would.
class BoxWatcher : public QObject {
public:
    BoxWatcher();
    ~BoxWatcher() override;
    QList<std::pair<QString, QRect>> boxes; // title, geometry

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// A settings file of its own in a temporary folder.
class TempSettings {
public:
    TempSettings();
    QString path() const { return m_dir.filePath(QStringLiteral("lumawrite/tabro.cfg")); }
    void write(const QByteArray &content) const;
    void write(const Settings &settings) const;
    QByteArray read() const;
    SettingsStore &store() { return m_store; }

private:
    QTemporaryDir m_dir;
    SettingsStore m_store;
};

// The defaults, but pointed at loopback and at a COM port that no test machine has.
Settings safeSettings();

// Three fonts from fonts-dejavu-core, so lists and widths do not depend on the machine.
QStringList knownFonts();

// Bytes written out by hand: bytes({0xAA, 0xCC, ...}).
QByteArray bytes(std::initializer_list<int> values);

// Resolves every COM number to a device that does not exist.
QString noSuchDevice(int comNumber);

// A connected pair of pseudo-terminals made by socat; both ends are symbolic links in a
// temporary folder.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    bool ready() const { return m_ready; }
    QString a() const;
    QString b() const;
    // Ends socat: both terminals go away, as a pulled adapter does.
    void vanish();

private:
    QTemporaryDir m_dir;
    QProcess m_socat;
    bool m_ready = false;
};

// While it lives, no file of this process may grow past the given size: writes fail as on a
// full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(long bytes);
    ~FileSizeLimit();

private:
    long m_saved[2];
};

ui::Services servicesFor(TempSettings &file, RecordingNotifier &notifier);

// The main window as an operator uses it, with short pauses, its own settings file and a sign
// on loopback that keeps every datagram. No top-level window may outlive a test.
class WindowsTest : public ::testing::Test {
protected:
    WindowsTest();
    ~WindowsTest() override;
    void SetUp() override;
    void TearDown() override;

    // Writes the settings to the file and opens the main window on them. The messages of the
    // load (the tests' serial port does not exist) are cleared.
    void startMain(const Settings &settings, link::LinkTiming timing);
    void startMain(const Settings &settings, link::LinkTiming timing, ui::Services services);
    ui::Services services() { return servicesFor(file, notifier); }

    QUdpSocket sign;
    TempSettings file;
    RecordingNotifier notifier;
    modMain shared;
    std::unique_ptr<ui::frmMain> main;
};

} // namespace lumawrite::test
