#include "SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace lumawrite {
namespace {

const QByteArray Utf8Mark("\xEF\xBB\xBF");
constexpr int FieldCount = 14;

QByteArray encodeText(const QString &text, bool utf8)
{
    if (utf8)
        return text.toUtf8();
    QStringEncoder encoder("windows-1252");
    return encoder.encode(text);
}

bool fitsWindows1252(const QString &text)
{
    QStringEncoder encoder("windows-1252");
    const QByteArray bytes = encoder.encode(text);
    Q_UNUSED(bytes);
    return !encoder.hasError();
}

// Splits the file into its values the way the sign program has always read it: values are
// separated by line ends or commas, strings are quoted. The last value, the message, may hold
// line breaks and double quotes of its own: it ends at the last double quote that is followed
// on its line only by blanks or tabs, or by a comma and anything after it. The program writes
// the message's closing quote last in the file; a hand-edited line may leave blanks or a note
// after it.
class FieldReader {
public:
    explicit FieldReader(const QString &text) : m_text(text) {}

    std::optional<QString> next(bool lastField)
    {
        skipBlanks();
        if (m_pos >= m_text.size())
            return std::nullopt;
        if (m_text[m_pos] == QLatin1Char('"'))
            return lastField ? quotedToLastLineEnd() : quoted();
        return unquoted();
    }

private:
    void skipBlanks()
    {
        while (m_pos < m_text.size() &&
               (m_text[m_pos] == QLatin1Char(' ') || m_text[m_pos] == QLatin1Char('\t')))
            ++m_pos;
    }

    bool isLineEnd(qsizetype i) const
    {
        return i >= m_text.size() || m_text[i] == QLatin1Char('\r') ||
               m_text[i] == QLatin1Char('\n');
    }

    bool closesMessage(qsizetype quote) const
    {
        qsizetype i = quote + 1;
        while (i < m_text.size() &&
               (m_text[i] == QLatin1Char(' ') || m_text[i] == QLatin1Char('\t')))
            ++i;
        return isLineEnd(i) || m_text[i] == QLatin1Char(',');
    }

    // After a value: skip to the start of the next one (past one comma or one line end).
    void skipSeparator()
    {
        while (m_pos < m_text.size()) {
            const QChar c = m_text[m_pos++];
            if (c == QLatin1Char(','))
                return;
            if (c == QLatin1Char('\n'))
                return;
            if (c == QLatin1Char('\r')) {
                if (m_pos < m_text.size() && m_text[m_pos] == QLatin1Char('\n'))
                    ++m_pos;
                return;
            }
        }
    }

    QString quoted()
    {
        const qsizetype start = m_pos + 1;
        qsizetype end = start;
        while (end < m_text.size() && m_text[end] != QLatin1Char('"') && !isLineEnd(end))
            ++end;
        const QString value = m_text.mid(start, end - start);
        m_pos = end;
        skipSeparator();
        return value;
    }

    QString quotedToLastLineEnd()
    {
        const qsizetype start = m_pos + 1;
        qsizetype close = -1;
        for (qsizetype i = start; i < m_text.size(); ++i) {
            if (m_text[i] == QLatin1Char('"') && closesMessage(i))
                close = i;
        }
        QString value;
        if (close >= 0) {
            value = m_text.mid(start, close - start);
        } else {
            // No closing quote: keep what is there rather than lose the message.
            value = m_text.mid(start);
            while (value.endsWith(QLatin1Char('\n')) || value.endsWith(QLatin1Char('\r')))
                value.chop(1);
        }
        m_pos = m_text.size();
        return value;
    }

    QString unquoted()
    {
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && m_text[m_pos] != QLatin1Char(',') && !isLineEnd(m_pos))
            ++m_pos;
        const QString value = m_text.mid(start, m_pos - start).trimmed();
        skipSeparator();
        return value;
    }

    const QString &m_text;
    qsizetype m_pos = 0;
};

std::optional<qint16> parseInt16(const QString &value)
{
    if (value.isEmpty())
        return std::nullopt;
    qsizetype i = 0;
    if (value[0] == QLatin1Char('-') || value[0] == QLatin1Char('+'))
        i = 1;
    if (i == value.size())
        return std::nullopt;
    for (qsizetype k = i; k < value.size(); ++k) {
        if (value[k] < QLatin1Char('0') || value[k] > QLatin1Char('9'))
            return std::nullopt;
    }
    bool ok = false;
    const int n = value.toInt(&ok, 10);
    if (!ok || n < -32768 || n > 32767)
        return std::nullopt;
    return static_cast<qint16>(n);
}

QString decodeFile(const QByteArray &content)
{
    if (content.startsWith(Utf8Mark))
        return QString::fromUtf8(content.mid(Utf8Mark.size()));
    QStringDecoder decoder("windows-1252");
    return decoder.decode(content);
}

enum class Access { Open, Write };

QString notRegular(Access access, const QString &path)
{
    return (access == Access::Write
                ? QCoreApplication::translate(
                      "lumawrite::SettingsStore",
                      "Cannot write %1: it is neither a regular file nor a link to one.")
                : QCoreApplication::translate(
                      "lumawrite::SettingsStore",
                      "Cannot open %1: it is neither a regular file nor a link to one."))
        .arg(path);
}

QString notRegularReason()
{
    return QCoreApplication::translate("lumawrite::SettingsStore",
                                       "it is neither a regular file nor a link to one");
}

} // namespace

bool readRegularFile(const QString &path, QByteArray &content, ReadFailure &failure,
                     qint64 maxBytes)
{
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0) {
        const int error = errno;
        failure.reason = QString::fromLocal8Bit(std::strerror(error));
        failure.missing = error == ENOENT && ::lstat(name.constData(), &st) != 0;
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        failure.reason = notRegularReason();
        return false;
    }
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        failure.reason = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    QFile file;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        failure.reason = notRegularReason();
        return false;
    }
#else
    if (QFileInfo::exists(path) && !QFileInfo(path).isFile()) {
        failure.reason = notRegularReason();
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        failure.reason = file.errorString();
        failure.missing = !QFileInfo(path).isSymLink() && !QFileInfo::exists(path);
        return false;
    }
#endif
    content = file.read(maxBytes + 1);
    if (content.size() > maxBytes) {
        content.clear();
        failure.tooLarge = true;
        failure.reason = QCoreApplication::translate("lumawrite::SettingsStore",
                                                     "it is larger than %1 MiB")
                             .arg(maxBytes >> 20);
        return false;
    }
    return true;
}

namespace {

// A save replaces only a regular file (the target of a link to one) or creates the file where
// there is nothing. A link that leads nowhere is left alone rather than have its target made.
QString checkWritable(const QString &path)
{
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0)
        return {}; // nothing there yet, or out of reach: the save itself says which
    if (::stat(name.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return notRegular(Access::Write, path);
#else
    if (QFileInfo::exists(path) && !QFileInfo(path).isFile())
        return notRegular(Access::Write, path);
#endif
    return {};
}

} // namespace

QString settingsFilePath()
{
#ifdef Q_OS_WIN
    return QStringLiteral("c:\\tabro.cfg");
#else
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(base).filePath(QStringLiteral("lumawrite/tabro.cfg"));
#endif
}

QByteArray encodeSettings(const Settings &s)
{
    const bool utf8 = !fitsWindows1252(s.IpAddress) || !fitsWindows1252(s.MessageText);
    const QByteArray crlf("\r\n");
    QByteArray out;
    if (utf8)
        out += Utf8Mark;
    auto quotedLine = [&](const QString &v) { out += '"' + encodeText(v, utf8) + '"' + crlf; };
    auto numberLine = [&](qint16 v) { out += QByteArray::number(v) + crlf; };

    quotedLine(s.IpAddress);
    for (qint16 v : {s.LocalPort, s.SerialAddress, s.LinkType, s.ComPort, s.Speed, s.FontIndex,
                     s.FontSize, s.Bold, s.Italic, s.Strikethrough, s.Underline, s.Offset})
        numberLine(v);
    quotedLine(s.MessageText);
    return out;
}

namespace {

// What each line of the file holds, as the operator knows it.
QString fieldName(int line)
{
    static const char *const names[FieldCount] = {
        QT_TRANSLATE_NOOP("lumawrite::SettingsStore", "the sign's IP address"),
        QT_TRANSLATE_NOOP("lumawrite::SettingsStore", "the receive port"),
        QT_TRANSLATE_NOOP("lumawrite::SettingsStore", "the serial address"),
        QT_TRANSLATE_NOOP("lumawrite::SettingsStore", "the link"),
        QT_TRANSLATE_NOOP("lumawrite::SettingsStore", "the COM port"),
        QT_TRANSLATE_NOOP("lumawrite::SettingsStore", "the speed"),
        QT_TRANSLATE_NOOP("lumawrite::SettingsStore", "the typeface"),
        QT_TRANSLATE_NOOP("lumawrite::SettingsStore", "the size"),
        QT_TRANSLATE_NOOP("lumawrite::SettingsStore", "bold"),
        QT_TRANSLATE_NOOP("lumawrite::SettingsStore", "italic"),
        QT_TRANSLATE_NOOP("lumawrite::SettingsStore", "strikethrough"),
        QT_TRANSLATE_NOOP("lumawrite::SettingsStore", "underline"),
        QT_TRANSLATE_NOOP("lumawrite::SettingsStore", "the offset"),
        QT_TRANSLATE_NOOP("lumawrite::SettingsStore", "the message")};
    return QCoreApplication::translate("lumawrite::SettingsStore", names[line - 1]);
}

} // namespace

std::optional<Settings> decodeSettings(const QByteArray &content, QString *why)
{
    const QString text = decodeFile(content);
    FieldReader reader(text);

    std::optional<QString> fields[FieldCount];
    for (int i = 0; i < FieldCount; ++i) {
        fields[i] = reader.next(i == FieldCount - 1);
        if (!fields[i]) {
            if (why)
                *why = QCoreApplication::translate("lumawrite::SettingsStore",
                                                   "it ends before line %1 (%2)")
                           .arg(i + 1)
                           .arg(fieldName(i + 1));
            return std::nullopt;
        }
    }

    qint16 numbers[12];
    for (int i = 0; i < 12; ++i) {
        const auto n = parseInt16(*fields[i + 1]);
        if (!n) {
            if (why)
                *why = QCoreApplication::translate(
                           "lumawrite::SettingsStore",
                           "line %1 (%2) holds \"%3\", not a whole number from -32768 to 32767")
                           .arg(i + 2)
                           .arg(fieldName(i + 2), fields[i + 1]->left(40));
            return std::nullopt;
        }
        numbers[i] = *n;
    }

    Settings s;
    s.IpAddress = *fields[0];
    s.LocalPort = numbers[0];
    s.SerialAddress = numbers[1];
    s.LinkType = numbers[2];
    s.ComPort = numbers[3];
    s.Speed = numbers[4];
    s.FontIndex = numbers[5];
    s.FontSize = numbers[6];
    s.Bold = numbers[7];
    s.Italic = numbers[8];
    s.Strikethrough = numbers[9];
    s.Underline = numbers[10];
    s.Offset = numbers[11];
    s.MessageText = *fields[13];
    return s;
}

SettingsStore::SettingsStore(QString path) : m_path(std::move(path)) {}

QString SettingsStore::LoadSettings(Settings &settings, ReadFailure *failure)
{
    QByteArray content;
    ReadFailure why;
    if (!readRegularFile(m_path, content, why)) {
        if (failure)
            *failure = why;
        return why.reason == notRegularReason()
                   ? notRegular(Access::Open, m_path)
                   : QCoreApplication::translate("lumawrite::SettingsStore", "Cannot open %1: %2")
                         .arg(m_path, why.reason);
    }
    m_known = content;
    QString unreadable;
    const auto decoded = decodeSettings(content, &unreadable);
    if (!decoded) {
        if (failure)
            *failure = {unreadable, false};
        return QCoreApplication::translate("lumawrite::SettingsStore", "%1 could not be read: %2.")
            .arg(m_path, unreadable);
    }
    settings = *decoded;
    return {};
}

QString SettingsStore::SaveSettings(const Settings &settings)
{
    const QFileInfo info(m_path);
    if (!QDir().mkpath(info.absolutePath()))
        return QCoreApplication::translate("lumawrite::SettingsStore",
                                           "Cannot create the folder %1.")
            .arg(info.absolutePath());
    if (const QString refused = checkWritable(m_path); !refused.isEmpty())
        return refused;

    // Written beside the old file and renamed over it: a crash or a full disk halfway through
    // leaves the previous settings as they were.
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return QCoreApplication::translate("lumawrite::SettingsStore", "Cannot write %1: %2")
            .arg(m_path, file.errorString());
    const QByteArray content = encodeSettings(settings);
    // A short write (full disk, file size limit) must never be renamed over the old file.
    if (file.write(content) != content.size() || !file.flush() ||
        file.error() != QFileDevice::NoError || file.size() != content.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return QCoreApplication::translate("lumawrite::SettingsStore", "Cannot write %1: %2")
            .arg(m_path, reason);
    }
    // Checked again just before the rename, which nothing but a regular file may undergo.
    if (const QString refused = checkWritable(m_path); !refused.isEmpty()) {
        file.cancelWriting();
        return refused;
    }
    if (!file.commit())
        return QCoreApplication::translate("lumawrite::SettingsStore", "Cannot write %1: %2")
            .arg(m_path, file.errorString());
    m_known = content;
    return {};
}

QString SettingsStore::SaveFields(Settings &settings, SettingsFields owned)
{
    QByteArray current;
    ReadFailure ignored;
    if (readRegularFile(m_path, current, ignored) && current != m_known) {
        if (const auto onDisk = decodeSettings(current)) {
            Settings merged = *onDisk;
            copyFields(merged, settings, owned);
            const QString error = SaveSettings(merged);
            if (error.isEmpty())
                settings = merged;
            return error;
        }
    }
    return SaveSettings(settings);
}

QString unreadableCopyPath(const QString &settingsPath)
{
    return settingsPath + QStringLiteral(".unreadable");
}

namespace {

// Keeps the bytes of an unreadable settings file beside it, as a save writes the file itself:
// only over a regular file, renamed into place whole. Why they could not be kept, or empty.

QString keepWholeFile(const QString &path, const QString &copyPath)
{
    if (const QString refused = checkWritable(copyPath); !refused.isEmpty())
        return refused;
    if (QFileInfo::exists(copyPath) && !QFile::remove(copyPath))
        return QCoreApplication::translate("lumawrite::SettingsStore", "%1 could not be replaced")
            .arg(copyPath);
    QFile original(path);
    return original.copy(copyPath) ? QString() : original.errorString();
}

} // namespace

QString writeRegularFile(const QString &path, const QByteArray &content)
{
    if (const QString refused = checkWritable(path); !refused.isEmpty())
        return refused;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() ||
        !file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (const QString refused = checkWritable(path); !refused.isEmpty()) {
        file.cancelWriting();
        return refused;
    }
    return file.commit() ? QString() : file.errorString();
}

StartupOutcome loadOrRecover(SettingsStore &store, Settings &settings)
{
    StartupOutcome outcome;
    ReadFailure failure;
    if (store.LoadSettings(settings, &failure).isEmpty())
        return outcome;

    outcome.recovered = true;
    QByteArray content;
    ReadFailure unread;
    if (failure.tooLarge) {
        // Too large to read, yet the operator's own: it is kept whole.
        outcome.unreadable = failure.reason;
        const QString copyPath = unreadableCopyPath(store.path());
        outcome.keepError = keepWholeFile(store.path(), copyPath);
        if (outcome.keepError.isEmpty())
            outcome.keptAs = copyPath;
    } else if (!failure.missing && readRegularFile(store.path(), content, unread)) {
        // The operator's own file, read but not understood, which the defaults are about to
        // replace: its bytes are kept first.
        outcome.unreadable = failure.reason;
        const QString copyPath = unreadableCopyPath(store.path());
        outcome.keepError = writeRegularFile(copyPath, content);
        if (outcome.keepError.isEmpty())
            outcome.keptAs = copyPath;
    }
    SetDefaultSettings(settings);
    outcome.saveError = store.SaveSettings(settings);
    if (outcome.saveError.isEmpty()) {
        Settings readBack;
        if (store.LoadSettings(readBack).isEmpty())
            settings = readBack;
    }
    return outcome;
}

} // namespace lumawrite
