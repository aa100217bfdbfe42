#include "SendSession.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QTimer>

namespace lumawrite::send {
namespace {

constexpr int BarWidth = 30;

// The picture is made in memory and written in one go, so that a full disk or a file-size
// limit is seen: QImage::save reports success once the bytes are in the file's buffer.
QString writePng(const QImage &image, const QString &path)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return QCoreApplication::translate("lumawrite::send::SendSession",
                                           "the PNG could not be made");
    // Unbuffered, so that the write that fails is the one that tells why.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return file.errorString();
    for (qsizetype written = 0; written < png.size();) {
        const qint64 n = file.write(png.constData() + written, png.size() - written);
        if (n <= 0)
            return file.errorString();
        written += n;
    }
    file.close();
    return file.error() == QFileDevice::NoError ? QString() : file.errorString();
}

} // namespace

SendSession::SendSession(SendOptions options, QString settingsPath, QStringList fontList,
                         LinkServices link, SessionOutput output, QObject *parent)
    : QObject(parent), m_options(std::move(options)), m_store(std::move(settingsPath)),
      m_fonts(std::move(fontList)), m_output(std::move(output)), m_upload(std::move(link))
{
    connect(&m_upload, &SignUpload::progress, this, &SendSession::showProgress);
    connect(&m_upload, &SignUpload::finished, this, &SendSession::uploadFinished);
    m_countdown.setInterval(1000);
    connect(&m_countdown, &QTimer::timeout, this, &SendSession::redrawBar);
}

void SendSession::submit(const QString &text)
{
    if (m_busy) {
        m_pending = text;
        return;
    }
    process(text);
}

void SendSession::process(const QString &text)
{
    m_busy = true;
    m_barShown = false;
    // A script that read a missing file must not blank the sign by mistake.
    if (text.isEmpty() && !m_options.allowEmpty) {
        done(ExitRefused, QCoreApplication::translate("lumawrite::send::SendSession",
                                                      "empty message; nothing sent"));
        return;
    }
    ReadFailure failure;
    const QString loadError = m_store.LoadSettings(m_settings, &failure);
    m_unreadFile.reset();
    if (!loadError.isEmpty()) {
        // The defaults never say where the sign is: the command line must.
        if (!m_options.overrides.host && !m_options.overrides.comPort) {
            QString message =
                QCoreApplication::translate("lumawrite::send::SendSession",
                                            "cannot read the settings at %1 (%2) and no --ip or "
                                            "--serial given: the sign's address is unknown")
                    .arg(m_store.path(), failure.reason);
            if (m_options.mode == SendOptions::Mode::Watch)
                message += QCoreApplication::translate(
                    "lumawrite::send::SendSession",
                    "\nlumawrite-send: this change was not sent; the next "
                    "one is, once the settings can be read.");
            done(ExitUsage, message);
            return;
        }
        m_unreadFile = failure;
        SetDefaultSettings(m_settings);
        m_output.err(
            QCoreApplication::translate("lumawrite::send::SendSession",
                                        "lumawrite-send: %1\nlumawrite-send: using the default "
                                        "settings.\n")
                .arg(loadError));
    }

    ChoiceResult chosen =
        chooseMessage(m_settings, m_options.overrides, m_fonts, render::storedMessageText(text));
    if (!chosen.error.isEmpty()) {
        done(ExitUsage, chosen.error);
        return;
    }
    m_choices = chosen.choices;
    const RenderedMessage rendered = renderMessage(m_choices);
    if (!rendered.error.isEmpty()) {
        done(ExitRefused, rendered.error);
        return;
    }
    for (const QString &finding : rendered.findings)
        m_output.err(QCoreApplication::translate("lumawrite::send::SendSession",
                                                 "lumawrite-send: warning: %1\n")
                         .arg(finding));
    if (m_options.strict && !rendered.findings.isEmpty()) {
        done(ExitRefused,
             QCoreApplication::translate("lumawrite::send::SendSession",
                                         "--strict refuses a message with warnings; nothing sent"));
        return;
    }
    if (!m_options.imageFile.isEmpty()) {
        const QString error = writePng(
            render::columnPixels(QByteArray(reinterpret_cast<const char *>(rendered.columns.data()),
                                            qsizetype(rendered.columns.size()))),
            m_options.imageFile);
        if (!error.isEmpty()) {
            done(ExitFileNotWritten,
                 QCoreApplication::translate("lumawrite::send::SendSession",
                                             "The image could not be written to %1: %2.")
                     .arg(m_options.imageFile, error));
            return;
        }
    }

    m_frames = uploadFrames(m_choices, rendered);
    if (m_options.dryRun) {
        QString lines;
        for (const QByteArray &frame : m_frames)
            lines += QString::fromLatin1(frame.toHex()) + QLatin1Char('\n');
        m_output.out(lines);
        done(ExitOk);
        return;
    }

    if (m_options.verbose) {
        const QString destination =
            m_choices.lan
                ? QCoreApplication::translate("lumawrite::send::SendSession", "%1, UDP port %2")
                      .arg(m_choices.host)
                      .arg(m_options.signPort)
                : QStringLiteral("COM %1").arg(m_choices.comPort);
        m_output.err(
            QCoreApplication::translate("lumawrite::send::SendSession",
                                        "Sending %1 frames (%2 columns) to %3, serial address %4, "
                                        "speed %5\n")
                .arg(m_frames.size())
                .arg(rendered.width)
                .arg(destination)
                .arg(m_choices.serialAddressIndex + 1)
                .arg(m_choices.speedIndex + 1));
    }
    m_upload.start(m_choices, rendered.columns);
}

void SendSession::showProgress(int framesDone, int framesTotal, qint64 remainingMs,
                               const QString &status)
{
    QString text;
    if (m_output.terminal)
        text += QStringLiteral("\r\x1b[K");
    if (m_options.verbose && framesDone < framesTotal) {
        const QByteArray frame = m_frames.value(framesDone);
        text += QStringLiteral("frame %1/%2  %3  %4 bytes  %5\n")
                    .arg(framesDone + 1)
                    .arg(framesTotal)
                    .arg(status)
                    .arg(frame.size())
                    .arg(QString::fromLatin1(frame.left(12).toHex()) +
                         (frame.size() > 12 ? QStringLiteral("...") : QString()));
    }
    if (m_output.terminal && framesTotal > 0) {
        m_bar = {framesDone, framesTotal, remainingMs};
        m_sinceProgress.start();
        text += barText(m_bar.framesDone, m_bar.framesTotal, m_bar.remainingMs);
        m_barShown = true;
        if (framesDone < framesTotal)
            m_countdown.start();
        else
            m_countdown.stop();
    }
    if (!text.isEmpty())
        m_output.err(text);
}

QString SendSession::barText(int framesDone, int framesTotal, qint64 remainingMs)
{
    const int filled = framesDone * BarWidth / framesTotal;
    return QCoreApplication::translate("lumawrite::send::SendSession",
                                       "[%1%2] %3/%4 frames, %5 left")
        .arg(QString(filled, QLatin1Char('#')))
        .arg(QString(BarWidth - filled, QLatin1Char('.')))
        .arg(framesDone)
        .arg(framesTotal)
        .arg(timeLeft(remainingMs));
}

void SendSession::redrawBar()
{
    // Between frames the time left runs down every second.
    const qint64 left = qMax<qint64>(0, m_bar.remainingMs - m_sinceProgress.elapsed());
    m_output.err(QStringLiteral("\r\x1b[K") + barText(m_bar.framesDone, m_bar.framesTotal, left));
}

void SendSession::uploadFinished(const UploadReport &report)
{
    m_countdown.stop();
    if (m_barShown)
        m_output.err(QStringLiteral("\n"));
    ExitCode code = report.exitCode;
    QString message = report.message;
    // The message and its choices are kept whatever happened on the line, as in the windows.
    if (m_options.save) {
        const QString error =
            saveAfterUpload(m_store, m_unreadFile, m_settings, m_choices, m_options.overrides);
        if (!error.isEmpty()) {
            message += (message.isEmpty() ? QString() : QStringLiteral("\n")) +
                       QCoreApplication::translate("lumawrite::send::SendSession",
                                                   "The settings were not saved: %1")
                           .arg(error);
            if (code == ExitOk)
                code = ExitFileNotWritten;
        }
    }
    if (m_options.verbose && report.exitCode == ExitOk)
        m_output.err(
            QCoreApplication::translate("lumawrite::send::SendSession", "Sent %1 of %2 frames.\n")
                .arg(report.framesSent)
                .arg(report.framesTotal));
    done(code, message);
}

void SendSession::done(ExitCode code, const QString &message)
{
    if (!message.isEmpty())
        m_output.err(QStringLiteral("lumawrite-send: %1\n").arg(message));
    // A waiting text goes next; the session stays busy until then, so it is not overtaken.
    if (m_pending)
        QTimer::singleShot(0, this, &SendSession::processPending);
    else
        m_busy = false;
    emit messageDone(code);
}

void SendSession::processPending()
{
    const QString text = *m_pending;
    m_pending.reset();
    process(text);
}

} // namespace lumawrite::send
