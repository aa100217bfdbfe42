#include "TestSupport.h"

#include "Accessibility.h"
#include "SignPorts.h"
#include "frmMain.h"

#include <QAccessible>
#include <QApplication>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QNetworkDatagram>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <csignal>
#include <sys/resource.h>
#include <utility>

void PrintTo(const QPoint &point, std::ostream *out)
{
    *out << "(" << point.x() << ", " << point.y() << ")";
}

void PrintTo(const QSize &size, std::ostream *out)
{
    *out << size.width() << " x " << size.height();
}

void PrintTo(const QRect &rect, std::ostream *out)
{
    PrintTo(rect.topLeft(), out);
    *out << " ";
    PrintTo(rect.size(), out);
}

namespace lumawrite::test {

int RecordingNotifier::count(const QString &title) const
{
    int n = 0;
    for (const Message &m : messages)
        n += m.title == title ? 1 : 0;
    return n;
}

BoxWatcher::BoxWatcher()
{
    qApp->installEventFilter(this);
}

BoxWatcher::~BoxWatcher()
{
    qApp->removeEventFilter(this);
}

bool BoxWatcher::eventFilter(QObject *watched, QEvent *event)
{
    auto *box = qobject_cast<QMessageBox *>(watched);
    if (box && event->type() == QEvent::Show && !event->spontaneous()) {
        // Sized and placed once its show has been handled: read it from the box's own loop.
        QTimer::singleShot(0, box, [this, box] {
            boxes.append({box->windowTitle(), box->geometry()});
            box->accept();
        });
    }
    return false;
}

TempSettings::TempSettings() : m_store(m_dir.filePath(QStringLiteral("lumawrite/tabro.cfg"))) {}

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(content);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TempSettings::write(const QByteArray &content) const
{
    writeFile(path(), content);
}

void TempSettings::write(const Settings &settings) const
{
    write(encodeSettings(settings));
}

QByteArray TempSettings::read() const
{
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

Settings safeSettings()
{
    Settings s = defaultSettings();
    s.IpAddress = QStringLiteral("127.0.0.1");
    s.LocalPort = 0; // any free port, so tests never collide
    s.FontIndex = 1; // a chosen typeface: the second of the list
    return s;
}

QStringList knownFonts()
{
    return {QStringLiteral("DejaVu Serif"), QStringLiteral("DejaVu Sans"),
            QStringLiteral("DejaVu Sans Mono")};
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

QString noSuchDevice(int comNumber)
{
    return QStringLiteral("/nonexistent/ttyTEST%1").arg(comNumber);
}

PtyPair::PtyPair()
{
    const QString a = m_dir.filePath(QStringLiteral("a"));
    const QString b = m_dir.filePath(QStringLiteral("b"));
    m_socat.start(QStringLiteral("socat"), {QStringLiteral("pty,raw,echo=0,link=") + a,
                                            QStringLiteral("pty,raw,echo=0,link=") + b});
    if (!m_socat.waitForStarted(5000))
        return;
    // socat creates the links once both terminals exist.
    const QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired()) {
        if (QFileInfo::exists(a) && QFileInfo::exists(b)) {
            m_ready = true;
            return;
        }
        QThread::msleep(20);
    }
}

PtyPair::~PtyPair()
{
    vanish();
}

void PtyPair::vanish()
{
    m_socat.terminate();
    m_socat.waitForFinished(3000);
}

QString PtyPair::a() const
{
    return m_dir.filePath(QStringLiteral("a"));
}
QString PtyPair::b() const
{
    return m_dir.filePath(QStringLiteral("b"));
}

FileSizeLimit::FileSizeLimit(long bytes)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit current{};
    getrlimit(RLIMIT_FSIZE, &current);
    m_saved[0] = long(current.rlim_cur);
    m_saved[1] = long(current.rlim_max);
    current.rlim_cur = rlim_t(bytes);
    setrlimit(RLIMIT_FSIZE, &current);
}

FileSizeLimit::~FileSizeLimit()
{
    rlimit restored{rlim_t(m_saved[0]), rlim_t(m_saved[1])};
    setrlimit(RLIMIT_FSIZE, &restored);
}

QStringList dryRunFrames(const TempSettings &file, const QStringList &arguments)
{
    QTemporaryDir state;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"),
               QFileInfo(QFileInfo(file.path()).absolutePath()).absolutePath());
    env.insert(QStringLiteral("XDG_STATE_HOME"), state.path());
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    env.remove(QStringLiteral("LANGUAGE"));
    QProcess send;
    send.setProcessEnvironment(env);
    QSignalSpy finished(&send, &QProcess::finished);
    send.start(QStringLiteral(LUMAWRITE_SEND_PATH), QStringList{"--dry-run"} + arguments);
    send.closeWriteChannel();
    if (!finished.wait(30000)) {
        send.kill();
        ADD_FAILURE() << "lumawrite-send did not end: " << arguments.join(' ').toStdString();
        return {};
    }
    const QString err = QString::fromUtf8(send.readAllStandardError());
    if (send.exitStatus() != QProcess::NormalExit || send.exitCode() != 0) {
        ADD_FAILURE() << arguments.join(' ').toStdString() << ": " << err.toStdString();
        return {};
    }
    return QString::fromUtf8(send.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

quint16 freeUdpPort()
{
    QUdpSocket probe;
    EXPECT_TRUE(probe.bind(QHostAddress::LocalHost, 0));
    return probe.localPort();
}

LoopbackSign::LoopbackSign()
{
    m_clock.start();
    EXPECT_TRUE(m_socket.bind(QHostAddress::LocalHost, 0));
    QObject::connect(&m_socket, &QUdpSocket::readyRead, &m_socket, [this] { collect(); });
}

void LoopbackSign::collect()
{
    while (m_socket.hasPendingDatagrams()) {
        m_received.append(m_socket.receiveDatagram().data());
        m_arrivalNs.append(m_clock.nsecsElapsed());
    }
}

QList<QByteArray> LoopbackSign::received()
{
    collect();
    return m_received;
}

QList<qint64> LoopbackSign::arrivalNs()
{
    collect();
    return m_arrivalNs;
}

QList<QByteArray> LoopbackSign::waitFor(int count, int timeoutMs)
{
    (void)QTest::qWaitFor([&] { return received().size() >= count; }, timeoutMs);
    return m_received;
}

QList<QByteArray> LoopbackSign::take()
{
    collect();
    m_arrivalNs.clear();
    return std::exchange(m_received, {});
}

QList<std::pair<QString, int>> AccessibleNotices::notices;

AccessibleNotices::AccessibleNotices()
{
    notices.clear();
    m_previous = ui::setAccessibleSink([](QAccessibleEvent *event) {
        notices.append(
            {event->object() ? event->object()->objectName() : QString(), int(event->type())});
    });
}

AccessibleNotices::~AccessibleNotices()
{
    ui::setAccessibleSink(m_previous);
    notices.clear();
}

int AccessibleNotices::count(const QString &objectName, int type) const
{
    return int(notices.count({objectName, type}));
}

ScreenOfSize::ScreenOfSize(QSize size)
    : m_saved(ui::setScreenArea([size](const QWidget *) { return size; }))
{
}

ScreenOfSize::~ScreenOfSize()
{
    ui::setScreenArea(m_saved);
}

LargerDesktopFont::LargerDesktopFont(double factor) : m_saved(QApplication::font())
{
    QFont larger = m_saved;
    larger.setPointSizeF(m_saved.pointSizeF() * factor);
    QApplication::setFont(larger);
}

LargerDesktopFont::~LargerDesktopFont()
{
    QApplication::setFont(m_saved);
}

namespace {

QString withoutMnemonics(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return text;
}

// The size a control needs to show its caption whole; empty for a control without one.
QSize captionNeeds(const QWidget *w, QString *caption)
{
    const QFontMetrics fm = w->fontMetrics();
    const QStyle *style = w->style();
    if (const auto *box = qobject_cast<const QGroupBox *>(w)) {
        *caption = box->title();
        return box->title().isEmpty() ? QSize() : box->minimumSizeHint();
    }
    if (qobject_cast<const QCheckBox *>(w) || qobject_cast<const QRadioButton *>(w)) {
        *caption = static_cast<const QAbstractButton *>(w)->text();
        return w->sizeHint();
    }
    if (const auto *button = qobject_cast<const QAbstractButton *>(w)) {
        // The text inside the button's frame and margins (a style may ask more for looks).
        *caption = button->text();
        const int frame = 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, w);
        const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, w);
        return {fm.horizontalAdvance(withoutMnemonics(*caption)) + frame + margin,
                fm.height() + frame};
    }
    if (const auto *list = qobject_cast<const QComboBox *>(w)) {
        // Its longest entry with the arrow and frame, as the list measures itself.
        *caption = list->currentText();
        return list->count() == 0 ? QSize() : list->sizeHint();
    }
    if (const auto *label = qobject_cast<const QLabel *>(w)) {
        if (label->text().isEmpty() || label->wordWrap())
            return {};
        *caption = label->text();
        return label->sizeHint();
    }
    return {};
}

void checkCaptions(const QWidget *parent, const QStringList &skipped, QStringList &cut)
{
    const auto children = parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (const QWidget *w : children) {
        if (w->isWindow() || w->isHidden())
            continue;
        const QString name = w->objectName();
        if (!parent->rect().contains(w->geometry()))
            cut.append(QStringLiteral("%1: stands out of %2 (%3,%4 %5 x %6 in %7 x %8)")
                           .arg(name, parent->objectName())
                           .arg(w->x())
                           .arg(w->y())
                           .arg(w->width())
                           .arg(w->height())
                           .arg(parent->width())
                           .arg(parent->height()));
        QString caption;
        const QSize needs = skipped.contains(name) ? QSize() : captionNeeds(w, &caption);
        if (needs.isValid() && (needs.width() > w->width() || needs.height() > w->height()))
            cut.append(QStringLiteral("%1 \"%2\": needs %3 x %4, has %5 x %6")
                           .arg(name, caption)
                           .arg(needs.width())
                           .arg(needs.height())
                           .arg(w->width())
                           .arg(w->height()));
        for (const QWidget *other : children) {
            if (needs.isValid() && other != w && !other->isHidden() &&
                other->geometry().intersects(w->geometry()))
                cut.append(QStringLiteral("%1 \"%2\": covered by %3")
                               .arg(name, caption, other->objectName()));
        }
        checkCaptions(w, skipped, cut);
    }
}

} // namespace

QStringList cutCaptions(const QWidget *window, const QStringList &skipped)
{
    QStringList cut;
    checkCaptions(window, skipped, cut);
    return cut;
}

void focusOn(QWidget *widget)
{
    QWidget *window = widget->window();
    window->show();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    widget->setFocus(Qt::OtherFocusReason);
    EXPECT_TRUE(widget->hasFocus());
}

void chooseFromList(QComboBox *list, const QString &caption)
{
    focusOn(list);
    QTest::keyClick(list, Qt::Key_Down, Qt::AltModifier);
    QAbstractItemView *view = list->view();
    QTest::keyClick(view, Qt::Key_Home);
    for (int n = 0; n < list->count() && view->currentIndex().data() != caption; ++n)
        QTest::keyClick(view, Qt::Key_Down);
    ASSERT_EQ(view->currentIndex().data().toString(), caption);
    QTest::keyClick(view, Qt::Key_Return);
}

void pressWithName(QAbstractButton *button, const char *name)
{
    QWidget *focused = QApplication::focusWidget(), *window = button->window();
    const QKeyCombination keys = QKeySequence::mnemonic(button->text())[0];
    QSignalSpy clicked(button, &QAbstractButton::clicked);
    QTest::keyClick(focused ? focused : window, keys.key(), keys.keyboardModifiers());
    ASSERT_TRUE(clicked.wait(2000)) << button->text().toStdString(); // a click shown briefly
    auto *prompt = window->findChild<QInputDialog *>();
    ASSERT_EQ(prompt != nullptr, name != nullptr);
    if (!prompt)
        return;
    // The window manager's part: the new window active, and the old one again afterwards.
    focusOn(prompt->findChild<QLineEdit *>());
    QTest::keyClicks(QApplication::focusWidget(), QString::fromUtf8(name));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([window] { return !window->findChild<QInputDialog *>(); }));
    focusOn(focused ? focused : window);
}

ui::Services servicesFor(TempSettings &file, RecordingNotifier &notifier)
{
    ui::Services services;
    services.store = &file.store();
    services.notifier = &notifier;
    services.fontFamilies = knownFonts;
    // The ports.conf beside the settings file maps COM numbers; the others have no device.
    platform::ComPorts ports = signs::comPortsBeside(file.path(), noSuchDevice);
    services.comPorts = std::move(ports.resolver);
    services.portsReport = ports.report;
    // A history of its own beside the settings file, not the one all tests of the run share.
    services.historyPath = QFileInfo(file.path()).dir().filePath(QStringLiteral("history.json"));
    return services;
}

WindowsTest::WindowsTest() = default;
WindowsTest::~WindowsTest() = default;

void WindowsTest::SetUp()
{
    ASSERT_NE(sign.port(), 0);
}

void WindowsTest::TearDown()
{
    main.reset();
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
}

ui::Services WindowsTest::services()
{
    ui::Services services = servicesFor(file, notifier);
    services.signPort = sign.port();
    return services;
}

std::unique_ptr<ui::frmMain> WindowsTest::makeMain(const Settings &settings,
                                                   const ui::Services &services)
{
    writeFile(services.store->path(), encodeSettings(settings)); // and read back, as at start
    EXPECT_TRUE(services.store->LoadSettings(shared.settings).isEmpty());
    return std::make_unique<ui::frmMain>(shared, services);
}

void WindowsTest::startMain(const Settings &settings, link::LinkTiming timing)
{
    startMain(settings, timing, services());
}

void WindowsTest::startMain(const Settings &settings, link::LinkTiming timing,
                            ui::Services services)
{
    main.reset();
    services.timing = timing;
    main = makeMain(settings, services);
    main->show();
    notifier.messages.clear();
}

} // namespace lumawrite::test
