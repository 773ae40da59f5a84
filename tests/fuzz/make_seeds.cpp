// Writes the seed corpus of the fuzz targets into tests/fuzz/corpus:
//   make_fuzz_seeds <corpus folder>
// Each reader seed is one option byte (see fuzz_entries.h) and a drawing file.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "store/pc_convert.h"
#include "store/records.h"
#include "tests/fuzz/pict_entry.h"
#include "tests/support/drawing_file.h"

using namespace drav;
using namespace drav::test;

namespace {

void put(const std::filesystem::path& p, std::uint8_t option, const std::vector<std::uint8_t>& bytes) {
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f.put(static_cast<char>(option));
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 1;
    const std::filesystem::path root = argv[1];
    std::filesystem::create_directories(root / "reader");
    std::filesystem::create_directories(root / "xtweak");
    DrawingFile empty;
    empty.default_settings(3);
    put(root / "reader" / "empty-native", 0, empty.bytes());
    empty.pc = true;
    put(root / "reader" / "empty-pc", 1, empty.bytes());
    DrawingFile all = every_kind_drawing();
    put(root / "reader" / "every-kind-native", 0, all.bytes());
    put(root / "reader" / "every-kind-merge-group", 4 | 8, all.bytes());
    all.pc = true;
    put(root / "reader" / "every-kind-pc", 1, all.bytes());
    put(root / "reader" / "every-kind-pc-merge", 2 | 1 | 8, all.bytes());
    all.pc = false;
    all.version = 54;
    put(root / "reader" / "every-kind-v54", 0, all.bytes());
    all.version = 52;
    put(root / "reader" / "every-kind-v52-merge", 2, all.bytes());

    // One PC record of each kind for the conversion target.
    const std::vector<std::uint8_t> pc_all = [] {
        DrawingFile d = every_kind_drawing();
        d.pc = true;
        return d.bytes();
    }();
    for (std::size_t i = 0; i * 128 < pc_all.size(); ++i) {
        std::ofstream f(root / "xtweak" / ("record-" + std::to_string(i)), std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(pc_all.data() + i * 128), 128);
    }

    // Record blocks as the clipboard carries them.
    std::filesystem::create_directories(root / "segs");
    auto block = [&](const char* name, const std::vector<ObjectRec>& recs, std::size_t cut = 0) {
        std::vector<std::uint8_t> b;
        for (const ObjectRec& r : recs) b.insert(b.end(), r.b, r.b + 128);
        if (cut) b.resize(b.size() - cut);
        std::ofstream f(root / "segs" / name, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    };
    std::vector<ObjectRec> pasteable, symbols;
    for (const ObjectRec& r : every_kind_drawing().objects) {
        if (rec_kind(r) == rk_object && obj_kind(r) == ok_symbol)
            symbols.push_back(r);
        else
            pasteable.push_back(r);
    }
    block("every-kind-but-symbols", pasteable);
    block("one-object", {pasteable.front()});
    block("cut-short", pasteable, 28);
    if (!symbols.empty()) block("a-placed-symbol", symbols);
    std::reverse(pasteable.begin(), pasteable.end());
    block("reversed", pasteable);

    // The picture reader's seeds: pictures without the file header.
    std::filesystem::create_directories(root / "pict");
    const auto pictures = drav::fuzz::picture_seeds();
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        std::ofstream f(root / "pict" / ("picture-" + std::to_string(i)), std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(pictures[i].data()), static_cast<std::streamsize>(pictures[i].size()));
    }
    return 0;
}
