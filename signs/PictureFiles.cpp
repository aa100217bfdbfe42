#include "PictureFiles.h"

#include "SettingsStore.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>

namespace lumawrite::signs {

QString picturesBeside(const QString &settingsPath)
{
    return QFileInfo(settingsPath).dir().filePath(QStringLiteral("pictures"));
}

PictureRead readPictureBytes(const QByteArray &content, const QString &name, bool invert)
{
    PictureRead read;
    QBuffer buffer;
    buffer.setData(content);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // The size is read from the header first: a huge image is refused before it is decoded.
    reader.setAllocationLimit(128); // MB: a 4096 x 4096 picture takes 64
    const QSize size = reader.size();
    if (size.width() > MaxPictureFilePixels || size.height() > MaxPictureFilePixels) {
        read.error = QCoreApplication::translate("lumawrite::signs::PictureFiles",
                                                 "it is %1 x %2 pixels; at most %3 x %3 are taken")
                         .arg(size.width())
                         .arg(size.height())
                         .arg(MaxPictureFilePixels);
        return read;
    }
    const QImage image = reader.read();
    if (image.isNull() || image.width() > MaxPictureFilePixels ||
        image.height() > MaxPictureFilePixels) {
        read.error = QCoreApplication::translate("lumawrite::signs::PictureFiles",
                                                 "it is no picture that can be read (%1)")
                         .arg(reader.errorString());
        return read;
    }
    read.picture = render::pictureFromImage(name, image, invert);
    return read;
}

PictureRead readPictureFile(const QString &path, const QString &name, bool invert)
{
    QByteArray content;
    ReadFailure failure;
    PictureRead read;
    if (!readRegularFile(path, content, failure, MaxPictureFileBytes))
        read.error = failure.reason;
    else
        read = readPictureBytes(content, name, invert);
    if (!read.error.isEmpty())
        read.error = QCoreApplication::translate("lumawrite::signs::PictureFiles",
                                                 "The picture %1 cannot be used: %2.")
                         .arg(path, read.error);
    return read;
}

PictureSet readPictures(const QString &folder, bool invert)
{
    PictureSet set;
    // The program's own are dots already: inverting is for images.
    set.pictures = render::builtinPictures();
    const QFileInfoList files = QDir(folder).entryInfoList(
        QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &file : files) {
        const QString name = file.completeBaseName();
        if (name.isEmpty() || name.contains(QLatin1Char('{')) || name.contains(QLatin1Char('}')))
            continue;
        PictureRead read = readPictureFile(file.filePath(), name, invert);
        if (!read.picture) {
            set.problems.append(read.error);
            set.unread.append(name);
            continue;
        }
        const auto same = std::find_if(set.pictures.begin(), set.pictures.end(),
                                       [&](const render::Picture &p) { return p.name == name; });
        if (same != set.pictures.end())
            *same = *read.picture;
        else
            set.pictures.append(*read.picture);
    }
    return set;
}

QStringList namedProblems(const PictureSet &set, const QString &text)
{
    QStringList named;
    for (qsizetype i = 0; i < set.problems.size() && i < set.unread.size(); ++i) {
        render::Picture unread;
        unread.name = set.unread[i];
        if (render::holdsPictures(render::splitMessage(text, {unread})))
            named.append(set.problems[i]);
    }
    return named;
}

QStringList pictureFindings(const QString &text, const QList<render::Picture> &pictures)
{
    QStringList findings;
    for (const render::MessagePart &part : render::splitMessage(text, pictures)) {
        if (part.picture < 0)
            continue;
        const render::Picture &p = pictures[part.picture];
        const QString finding =
            QCoreApplication::translate("lumawrite::signs::PictureFiles",
                                        "picture %1 is %2 rows high, scaled to %3")
                .arg(p.name)
                .arg(p.sourceRows)
                .arg(render::RowsPerColumn);
        if (p.sourceRows != render::RowsPerColumn && !findings.contains(finding))
            findings.append(finding);
    }
    return findings;
}

} // namespace lumawrite::signs
