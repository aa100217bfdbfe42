// Rendering costs: a typical message and the widest message that may be uploaded, by the
// block-by-block method and by the single drawing, and the whole sign-view refresh of the text
// entry window (render, fit check, view update).
#include "ColumnImage.h"
#include "ImageSurface.h"
#include "MessageEdit.h"
#include "MessagePlan.h"
#include "Notifier.h"
#include "frmDesign1.h"

#include <QApplication>
#include <QCheckBox>
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
    render::applyFont(surface, r);
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
        if (surface.measureText(next) > signs::MaxMessageColumns)
            break;
        text = next;
    }
    r.text = text;
    r.width = surface.measureText(text);
    return r;
}

// The worst the text box can hold: 250 characters at 60 points, bold. 0: "W"; 1: "‱", among
// the widest glyphs of DejaVu Sans (about 37 700 columns, past 16 bits); 2: both, mixed with
// spaces and four lines; 3: 250 different mathematical operators.
render::RenderRequest longest(render::Surface &surface, int which)
{
    render::RenderRequest r = typical(surface);
    r.pointSize = 60;
    surface.setFontSize(60);
    const QChar perTenThousand(0x2031);
    if (which == 0) {
        r.text = QString(250, QLatin1Char('W'));
    } else if (which == 1) {
        r.text = QString(250, perTenThousand);
    } else if (which == 3) {
        for (char16_t c = 0x2200; r.text.size() < 250; ++c)
            r.text += QChar(c);
    } else {
        const QString piece = QStringLiteral("W ") + perTenThousand + QStringLiteral("gÅ|");
        for (int i = 0; r.text.size() < 250; ++i)
            r.text += i % 50 == 49 ? QStringLiteral("\r\n") : QString(piece[i % piece.size()]);
        r.text.truncate(250);
    }
    r.width = surface.measureText(r.text);
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
    bool ask(QWidget *, const QString &, const QString &) override { return true; }
};

// The fit check and the whole sign-view refresh on the longest texts the box can hold.
template <auto Work> void BM_Longest(benchmark::State &state)
{
    platform::ImageSurface surface(QSize(870, 26), Paper, Qt::black);
    platform::ImageSurface strip(QSize(64, 16), Paper, Qt::black);
    const auto r = longest(surface, int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(Work(strip, r));
    describe(state, r);
}

void BM_SignViewRefresh(benchmark::State &state)
{
    modMain shared;
    SetDefaultSettings(shared.settings);
    SilentNotifier notifier;
    // Never shown, so it reads no saved messages or history.
    ui::frmDesign1 window(shared, {QStringLiteral("DejaVu Sans")}, notifier, {});
    platform::ImageSurface measure(QSize(870, 26), Paper, Qt::black);
    const int text = int(state.range(0));
    const auto r = text == 0   ? typical(measure)
                   : text == 1 ? widest(measure)
                               : longest(measure, text - 2);
    window.txtMsg->setMessageText(r.text);
    window.cmbFontSize->setCurrentIndex(r.pointSize - 6);
    window.chkBold->setChecked(r.bold);
    for (auto _ : state)
        window.refreshSignView();
    state.counters["columns"] = window.lblMsg[1]->text().toInt();
    state.counters["chars"] = window.lblMsg[0]->text().toInt();
}

} // namespace

BENCHMARK(BM_BlockByBlock)->Arg(0)->Arg(1)->ArgName("widest")->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_OnStrip, render::renderColumns)
    ->Name("BM_DrawOnce")
    ->Arg(0)
    ->Arg(1)
    ->ArgName("widest")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_OnStrip, signs::checkFit)
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
BENCHMARK_TEMPLATE(BM_Longest, signs::checkFit)
    ->Name("BM_FitCheckLongest")
    ->DenseRange(0, 3)
    ->ArgName("W_permyriad_mixed_distinct")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Longest, render::bestFit)
    ->Name("BM_FitLongest")
    ->DenseRange(0, 3)
    ->ArgName("W_permyriad_mixed_distinct")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Longest, render::renderColumns)
    ->Name("BM_DrawOnceLongest")
    ->DenseRange(0, 3)
    ->ArgName("W_permyriad_mixed_distinct")
    ->Unit(benchmark::kMillisecond);
// 0 typical, 1 widest that may be uploaded, 2 to 5 the longest texts ("W", "‱", mixed,
// distinct).
BENCHMARK(BM_SignViewRefresh)->DenseRange(0, 5)->ArgName("text")->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
