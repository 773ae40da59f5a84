// A fresh drawing in a real workfile, and drawing files written by the
// test's own record builder into the test's folder.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "files/drawing_reader.h"
#include "platform/core/files.h"
#include "store/current_drawing.h"
#include "store/pc_convert.h"
#include "store/record_store.h"
#include "store/symbol_library.h"
#include "store/units.h"
#include "store/workfile.h"
#include "tests/store/drawing_fixture.h"
#include "tests/support/drawing_file.h"

namespace drav::test {

class Reader : public Drawing {
protected:
    void SetUp() override {
        Drawing::SetUp();
        init_symbols();
        init_worldunits();
        currentdrawingRefNum = 0;
    }
    void TearDown() override {
        closesegs();
        Drawing::TearDown();
    }

    std::filesystem::path path(const char* name = "plan.drw") { return scratch_dir() / name; }

    int open(const DrawingFile& d, int merge = 0, int withplot = 0, const char* name = "plan.drw") {
        d.write(path(name));
        return open_raw(path(name), d.pc, merge, withplot);
    }
    int open_raw(const std::filesystem::path& p, bool pc, int merge = 0, int withplot = 0) {
        return open_drawing(FSRef{p}, 1, 0, p.filename().c_str(), merge, pc ? 1 : 0, withplot);
    }

    // Everything an open or a merge may change.
    struct Snapshot {
        std::vector<std::uint8_t> workfile, worklib;
        std::int16_t count;
        std::int16_t drawing_file;
        UnitsRec units;
        bool operator==(const Snapshot& o) const {
            return workfile == o.workfile && worklib == o.worklib && count == o.count &&
                   drawing_file == o.drawing_file && std::memcmp(&units, &o.units, sizeof units) == 0;
        }
    };
    static std::vector<std::uint8_t> file_bytes(std::int16_t fork, std::size_t records) {
        std::vector<std::uint8_t> b(records * 128);
        std::int64_t got = 0;
        plat::read_at(fork, 0, b.data(), static_cast<std::int64_t>(b.size()), &got);
        return b;
    }
    static Snapshot snapshot() {
        nomore_info();
        return {file_bytes(workfileRefNum, worksize), file_bytes(worklibRefNum, libsize), number_of_objects,
                currentdrawingRefNum, units_defs};
    }
    static ObjectRec worklib(int n) {
        ObjectRec r{};
        std::int64_t got = 0;
        plat::read_at(worklibRefNum, std::int64_t{n} * 128, r.b, 128, &got);
        return r;
    }
    // The drawing objects of the workfile from 36 on.
    static std::vector<ObjectRec> objects() {
        std::vector<ObjectRec> v;
        for (int n = first_object_slot; n < number_of_objects; ++n) v.push_back(record(n));
        return v;
    }
};

}  // namespace drav::test
