// Times the rendering of a message into the column image on the real off-screen surface:
// a typical 20-character message, and the widest message that may be uploaded (151 blocks,
// 60 points, bold).
#include "ColumnImage.h"
#include "ImageSurface.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace lumawrite;

namespace {

double medianMs(render::Surface &surface, const render::RenderRequest &r, int runs)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        const auto bytes = render::CreateBitMap(surface, r);
        times.push_back(t.nsecsElapsed() / 1e6);
        if (bytes.empty())
            return -1;
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::ImageSurface surface(QSize(870, 26), QColor(255, 255, 192), Qt::black);

    render::RenderRequest typical;
    typical.family = QStringLiteral("DejaVu Sans");
    typical.pointSize = 19;
    typical.bold = true;
    typical.offset = -2;
    typical.text = QStringLiteral("Fresh bread daily 7!");
    surface.setFontName(typical.family);
    surface.setFontSize(typical.pointSize);
    surface.setBold(true);
    typical.width = surface.measureText(typical.text);

    render::RenderRequest widest = typical;
    widest.pointSize = 60;
    surface.setFontSize(60);
    QString text;
    const QString pattern = QStringLiteral("Open 7 days, fresh bread and cakes. ");
    for (int i = 0; text.size() < 250; ++i) {
        const QString next = text + pattern[i % pattern.size()];
        if (surface.measureText(next) > render::MaxUploadWidth)
            break;
        text = next;
    }
    widest.text = text;
    widest.width = surface.measureText(text);

    std::printf("typical: %d characters, %d columns, %d blocks: median %.3f ms\n",
                int(typical.text.size()), typical.width, render::blockCountForWidth(typical.width),
                medianMs(surface, typical, 200));
    std::printf("widest:  %d characters, %d columns, %d blocks: median %.3f ms\n",
                int(widest.text.size()), widest.width, render::blockCountForWidth(widest.width),
                medianMs(surface, widest, 20));
    return 0;
}
