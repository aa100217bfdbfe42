#pragma once

#include "Notifier.h"
#include "Services.h"
#include "Settings.h"
#include "SettingsStore.h"
#include "WindowScale.h"

#include <QByteArray>

class QAbstractButton;
class QAccessibleEvent;
class QComboBox;
class QWidget;
#include <QElapsedTimer>
#include <QFont>
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
#include <ostream>

// Failures show texts as text, not as lists of 2-byte objects.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace lumawrite::ui {
class frmMain;
}

// Geometry as gtest shows it in a failure: "(x, y)", "w x h", "(x, y) w x h".
void PrintTo(const QPoint &point, std::ostream *out);
void PrintTo(const QSize &size, std::ostream *out);
void PrintTo(const QRect &rect, std::ostream *out);

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
    // Noted with the kind Information; answered with answer.
    bool ask(QWidget *, const QString &title, const QString &text) override
    {
        messages.append({Kind::Information, title, text});
        return answer;
    }
    bool answer = true;
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

// Writes the bytes to the file, making its folder first.
void writeFile(const QString &path, const QByteArray &content);
// The whole file; empty when it cannot be read.
QByteArray readFile(const QString &path);

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

// The defaults, but pointed at loopback and at a COM port that no test machine has, with the
// second typeface of the list chosen.
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

// A UDP port on loopback that nothing listens on at the moment.
quint16 freeUdpPort();

// A sign on loopback (127.0.0.1, a port of its own) that keeps every datagram that reaches it
// and when it arrived. Datagrams are taken in as the event loop turns and whenever asked for.
class LoopbackSign {
public:
    LoopbackSign();
    quint16 port() const { return m_socket.localPort(); }
    // What came in since the sign was made or last taken, oldest first.
    QList<QByteArray> received();
    // When each of those arrived, in nanoseconds since the sign was made.
    QList<qint64> arrivalNs();
    // Waits, the event loop turning, until at least count have come in; returns them all.
    QList<QByteArray> waitFor(int count, int timeoutMs = 15000);
    // What came in; the sign forgets it.
    QList<QByteArray> take();
    // The sign's own socket, to answer from.
    QUdpSocket &socket() { return m_socket; }

private:
    void collect();

    QUdpSocket m_socket;
    QElapsedTimer m_clock;
    QList<QByteArray> m_received;
    QList<qint64> m_arrivalNs;
};

// Records the accessibility notices the windows send, as (object name, event type), while it
// lives; the platform's bridge gets them again afterwards.
class AccessibleNotices {
public:
    AccessibleNotices();
    ~AccessibleNotices();
    // How many notices of the type came from the object of that name.
    int count(const QString &objectName, int type) const;
    static QList<std::pair<QString, int>> notices;

private:
    void (*m_previous)(QAccessibleEvent *);
};

// While it lives, the application's font is the usual one made larger by the factor (the font
// the windows are built with); the usual one comes back afterwards.
// While it lives, the windows take their screen's room to be of this size.
class ScreenOfSize {
public:
    explicit ScreenOfSize(QSize size);
    ~ScreenOfSize();

private:
    ui::ScreenArea m_saved;
};

// A desktop font larger by the factor, on a screen with room for windows of any size.
class LargerDesktopFont {
public:
    explicit LargerDesktopFont(double factor);
    ~LargerDesktopFont();

private:
    QFont m_saved;
    ScreenOfSize m_roomy{QSize(4000, 4000)};
};

// The captions in the window (labels, buttons, check boxes, option buttons, group box titles,
// the longest entry of a list) that its controls cut or a neighbour covers, and the controls that
// stand out of the one holding them; one line each, as "objectName \"caption\": needs W x H,
// has W x H". Measured with each control's font and the style's margins. The controls named in
// skipped are only checked to stand inside their holder. The window must have been shown.
QStringList cutCaptions(const QWidget *window, const QStringList &skipped = {});

// The frames lumawrite-send --dry-run prints for the arguments, one hex line each, with the
// settings file (and the pictures/ folder beside it) of the test and a state folder of its own;
// empty, with a failure added, when it does not end well.
QStringList dryRunFrames(const TempSettings &file, const QStringList &arguments);

// Makes the widget's window the active one and gives the widget the keyboard focus.
void focusOn(QWidget *widget);

// Opens the list with Alt+Down, goes to the entry of that caption with the arrow keys and takes
// it with Enter, as from the keyboard.
void chooseFromList(QComboBox *list, const QString &caption);

// Presses the button by its mnemonic (Alt and its underlined letter) where the focus is, and
// waits for its click. When a name is given, the button must ask for one: it is typed over the
// name offered and confirmed with Enter.
void pressWithName(QAbstractButton *button, const char *name = nullptr);

ui::Services servicesFor(TempSettings &file, RecordingNotifier &notifier);

// The windows as an operator uses them, with their own settings file, a notifier that records
// every message and a sign on loopback that keeps every datagram. No top-level window may
// outlive a test.
class WindowsTest : public ::testing::Test {
protected:
    WindowsTest();
    ~WindowsTest() override;
    void SetUp() override;
    void TearDown() override;

    // This fixture's settings file and notifier, the known fonts, COM ports without devices and
    // the loopback sign.
    ui::Services services();
    // Writes the settings to the file the services name and makes a main window on them, read
    // back as at start. The window is not shown, and the messages of its load stay.
    std::unique_ptr<ui::frmMain> makeMain(const Settings &settings, const ui::Services &services);
    // Opens the fixture's main window on the settings, with short pauses, and shows it. The
    // messages of the load (the tests' serial port does not exist) are cleared.
    void startMain(const Settings &settings, link::LinkTiming timing);
    void startMain(const Settings &settings, link::LinkTiming timing, ui::Services services);

    LoopbackSign sign;
    TempSettings file;
    RecordingNotifier notifier;
    modMain shared;
    std::unique_ptr<ui::frmMain> main;
};

} // namespace lumawrite::test
