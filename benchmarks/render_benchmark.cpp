// Rendering costs: a typical message and the widest message that may be uploaded, by the
// block-by-block method and by the single drawing, and the whole sign-view refresh of the text
// entry window (render, fit check, view update).
#include "ColumnImage.h"
#include "ImageSurface.h"
#include "MessageEdit.h"
#include "Notifier.h"
#include "frmDesign1.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>

#include <benchmark/benchmark.h>

using namespace lumawrite;

namespace {

const QColor Paper(255, 255, 192);

// 20 characters, 19 points, bold: the program's first choices.
render::RenderRequest typical(render::Surface &surface)
{
    render::RenderRequest r;
    r.family = QStringLiteral("DejaVu Sans");
    r.pointSize = 19;
    r.bold = true;
    r.offset = -2;
    r.text = QStringLiteral("Fresh bread daily 7!");
    surface.setFontName(r.family);
    surface.setFontSize(r.pointSize);
    surface.setBold(true);
    r.width = surface.measureText(r.text);
    return r;
}

// The longest text that still fits 151 blocks at 60 points, bold.
render::RenderRequest widest(render::Surface &surface)
{
    render::RenderRequest r = typical(surface);
    r.pointSize = 60;
    surface.setFontSize(60);
    const QString pattern = QStringLiteral("Open 7 days, fresh bread and cakes. ");
    QString text;
    for (int i = 0; text.size() < 250; ++i) {
        const QString next = text + pattern[i % pattern.size()];
        if (surface.measureText(next) > render::MaxUploadWidth)
            break;
        text = next;
    }
    r.text = text;
    r.width = surface.measureText(text);
    return r;
}

void describe(benchmark::State &state, const render::RenderRequest &r)
{
    state.counters["columns"] = r.width;
    state.counters["blocks"] = render::blockCountForWidth(r.width);
    state.counters["chars"] = double(r.text.size());
}

void BM_BlockByBlock(benchmark::State &state)
{
    platform::ImageSurface surface(QSize(870, 26), Paper, Qt::black);
    const auto r = state.range(0) ? widest(surface) : typical(surface);
    for (auto _ : state)
        benchmark::DoNotOptimize(render::CreateBitMap(surface, r));
    describe(state, r);
}

// One measurement on the strip the program renders on: drawn once, the fit check, "Fit".
template <auto Work> void BM_OnStrip(benchmark::State &state)
{
    platform::ImageSurface surface(QSize(870, 26), Paper, Qt::black);
    platform::ImageSurface strip(QSize(64, 16), Paper, Qt::black);
    const auto r = state.range(0) ? widest(surface) : typical(surface);
    for (auto _ : state)
        benchmark::DoNotOptimize(Work(strip, r));
    describe(state, r);
}

class SilentNotifier : public platform::Notifier {
public:
    void show(QWidget *, Kind, const QString &, const QString &) override {}
};

void BM_SignViewRefresh(benchmark::State &state)
{
    modMain shared;
    SetDefaultSettings(shared.settings);
    SilentNotifier notifier;
    ui::frmDesign1 window(shared, {QStringLiteral("DejaVu Sans")}, notifier);
    platform::ImageSurface measure(QSize(870, 26), Paper, Qt::black);
    const auto r = state.range(0) ? widest(measure) : typical(measure);
    window.txtMsg->setMessageText(r.text);
    window.cmbFontSize->setCurrentIndex(r.pointSize - 6);
    for (auto _ : state)
        window.refreshSignView();
    state.counters["columns"] = window.lblMsg[1]->text().toInt();
}

} // namespace

BENCHMARK(BM_BlockByBlock)->Arg(0)->Arg(1)->ArgName("widest")->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_OnStrip, render::renderColumns)
    ->Name("BM_DrawOnce")
    ->Arg(0)
    ->Arg(1)
    ->ArgName("widest")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_OnStrip, render::checkFit)
    ->Name("BM_FitCheck")
    ->Arg(0)
    ->Arg(1)
    ->ArgName("widest")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_OnStrip, render::bestFit)
    ->Name("BM_Fit")
    ->Arg(0)
    ->Arg(1)
    ->ArgName("widest")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SignViewRefresh)->Arg(0)->Arg(1)->ArgName("widest")->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
