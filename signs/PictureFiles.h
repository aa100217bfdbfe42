#pragma once

#include "Pictures.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The pictures a message may hold: the program's own, and the image files of the pictures/
// folder beside the settings file, each named by its file name without the extension
// ("logo.png" is {logo}; one of the folder's replaces the program's picture of its name).
namespace lumawrite::signs {

// The limits of a picture file: 4 MiB and 4096 x 4096 pixels.
constexpr qint64 MaxPictureFileBytes = 4 << 20;
constexpr int MaxPictureFilePixels = 4096;

// pictures/ in the folder of the settings file.
QString picturesBeside(const QString &settingsPath);

// Reads one picture file of any format Qt reads (PNG, SVG, ...): only a regular file, at most
// 4 MiB and 4096 x 4096 pixels. Why it cannot be used, or the picture.
struct PictureRead {
    std::optional<render::Picture> picture;
    QString error; // names the file
};
PictureRead readPictureFile(const QString &path, const QString &name, bool invert = false);
// The same from the file's bytes, for the fuzzer: error without the file's name.
PictureRead readPictureBytes(const QByteArray &content, const QString &name, bool invert = false);

// The program's pictures and the folder's; what in the folder cannot be read is told in
// problems (one line a file) and left out. A missing folder holds nothing.
struct PictureSet {
    QList<render::Picture> pictures;
    QStringList problems;
    QStringList unread; // the names of the files in problems, in the same order
};
PictureSet readPictures(const QString &folder, bool invert = false);

// The problems of the set's files that the text names as {NAME}, as it would name a picture.
QStringList namedProblems(const PictureSet &set, const QString &text);

// What the fit check adds for the pictures of a message: each picture made from an image of
// another height than the sign's ("picture logo is 40 rows high, scaled to 16").
QStringList pictureFindings(const QString &text, const QList<render::Picture> &pictures);

} // namespace lumawrite::signs
