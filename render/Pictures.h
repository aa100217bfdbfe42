#pragma once

#include "ColumnImage.h"

#include <QImage>
#include <QList>
#include <QString>

#include <vector>

// Pictures on the sign: a picture is columns of 16 dots, like a glyph, put into a message as
// {NAME}. The sign takes any column image, so nothing on the wire changes.
namespace lumawrite::render {

constexpr int MaxPictureColumns = 256;

struct Picture {
    QString name;
    std::vector<quint16> columns;   // bit r is row r, lit
    int sourceRows = RowsPerColumn; // the height of the image it was made from
    int width() const { return int(columns.size()); }
};

// The dots of an image, scaled to the sign's 16 rows keeping its proportions (and to at most
// 256 columns, centred in the rows then). A dot is lit where the pixel is at least half dark
// and at least half opaque, as ink on the text strip is; inverted, where it is at least half
// light and at least half opaque (a light logo on black).
Picture pictureFromImage(const QString &name, const QImage &image, bool invert = false);

// The pictures that come with the program, drawn for 16 rows: arrow-up, arrow-down,
// arrow-left, arrow-right, heart, star, euro, clock, warning, check, cross, smile.
const QList<Picture> &builtinPictures();

// A message is text and pictures: "{NAME}" is the picture of that name, "{{" a literal "{".
// A "{NAME}" whose NAME is no picture stays text, as it is.
struct MessagePart {
    QString text;     // when picture < 0
    int picture = -1; // its position in the pictures
};
QList<MessagePart> splitMessage(const QString &text, const QList<Picture> &pictures);
bool holdsPictures(const QList<MessagePart> &parts);

// The width of the message in columns: its text as the column counter measures it, and the
// pictures' columns between.
int measureMessage(Surface &surface, const RenderRequest &request, const QList<Picture> &pictures);

// Draws the message on the surface as drawMessage does, each picture's dots in rows 0 to 15 where
// it stands: the same dots that renderMessageColumns reads back, x columns to the right. A
// message without pictures is drawn exactly as drawMessage draws it.
void drawMessage(Surface &surface, const RenderRequest &request, const QList<Picture> &pictures,
                 int x = 0);

// The column image of a message with pictures: the text drawn as renderColumns draws it, each
// picture's dots in rows 0 to 15 where it stands (the offset moves only the text). A message
// without pictures gives exactly renderColumns' bytes. request.width must be the message's
// measured width.
std::vector<quint8> renderMessageColumns(StripSurface &strip, const RenderRequest &request,
                                         const QList<Picture> &pictures);

} // namespace lumawrite::render
