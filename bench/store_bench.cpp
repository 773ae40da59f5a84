// Walks the records of a full workfile through the current record.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "platform/core/files.h"
#include "store/record_store.h"

namespace {

void BM_GetInfoWalk(benchmark::State& state) {
    using namespace drav;
    constexpr int records = 32004;
    const auto path = std::filesystem::temp_directory_path() /
                      ("dravelin-bench-" + std::to_string(::getpid()));
    {
        std::ofstream f(path, std::ios::binary | std::ios::trunc);
        ObjectRec r{};
        for (int i = 0; i < records; ++i) {
            set_rec_u16(r, o_word0, live_object_word);
            f.write(reinterpret_cast<const char*>(r.b), 128);
        }
    }
    plat::open_file({path}, plat::Perm::read_write, &workfileRefNum);
    worksize = records;
    init_record_store();
    std::int64_t live = 0;
    for (auto _ : state) {
        for (int n = 0; n < 32000; ++n) {
            get_info(static_cast<std::int16_t>(n));
            live += is_live_object(info);
        }
        nomore_info();
    }
    benchmark::DoNotOptimize(live);
    state.SetItemsProcessed(state.iterations() * 32000);
    plat::close_file(workfileRefNum);
    free_record_store();
    std::filesystem::remove(path);
}
BENCHMARK(BM_GetInfoWalk)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
