// Frames and paints of rectangles and ovals as a redraw draws them: many
// small shapes in one colour scattered over a screen-sized buffer.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "platform/core/raster.h"

namespace {

struct Shape {
    plat::Rect r;
    bool oval;
};

std::vector<Shape> scattered(int n, int max_side) {
    std::mt19937 rng(99);
    std::uniform_int_distribution<int> ux(-20, 1920), uy(-20, 1080), side(1, max_side);
    std::vector<Shape> v;
    for (int i = 0; i < n; ++i) {
        const int x = ux(rng), y = uy(rng), w = side(rng);
        const int h = i % 3 ? w : side(rng);
        v.push_back({{static_cast<std::int16_t>(y), static_cast<std::int16_t>(x), static_cast<std::int16_t>(y + h),
                      static_cast<std::int16_t>(x + w)},
                     i % 3 != 0});
    }
    return v;
}

void shapes(benchmark::State& state, bool frame) {
    plat::Port p(1920, 1080);
    p.set_fore_color({0xFFFF, 0, 0});
    const std::vector<Shape> v = scattered(10000, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        for (const Shape& s : v) {
            if (s.oval)
                frame ? p.frame_oval(s.r) : p.paint_oval(s.r);
            else
                frame ? p.frame_rect(s.r) : p.paint_rect(s.r);
        }
        benchmark::DoNotOptimize(p.pixels().data());
    }
}

void BM_FrameShapes(benchmark::State& state) { shapes(state, true); }
BENCHMARK(BM_FrameShapes)->Arg(20)->Arg(150)->Unit(benchmark::kMicrosecond);

void BM_PaintShapes(benchmark::State& state) { shapes(state, false); }
BENCHMARK(BM_PaintShapes)->Arg(20)->Arg(150)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
