// Makes the program's fifteen stroke fonts and their font list
// "DRAVfonts.txt" from the Hershey vector fonts (Debian package
// hershey-fonts-data), at build time:
//
//   make_stroke_fonts <hershey folder> <output folder> [<depfile>]
//
// The depfile names the .jhf files read, so the build reruns this only when
// they (or this tool) change.
//
// Stroke file, big-endian: 256 i16 index entries (entry 0 = N, the number of
// strokes; entry c = the first stroke of character c, entry c + 1 its end),
// then N strokes of two u16 words: x = pen up (bit 15), sign (14), magnitude
// (13-0); y = sign (15), magnitude (14-0). Strokes are relative moves on a
// cell 42 wide and 63 high, starting at the character's origin, the cell's
// lower-left corner on the base line. Text advances 1.5 cells (63) a
// character.
//
// Faces, numbered from 1 in this order, and the Hershey font each is made of:
//    1 Simplex  rowmans           9 English  scriptc
//    2 Duplex   rowmand          10 Math     mathlow
//    3 Triplex  rowmant          11 Sign     symbolic
//    4 IDuplex  timesi           12 Stick    futural
//    5 ITriplex timesib          13 Round    futuram
//    6 Gothic   gothiceng        14 Block    timesrb (heavy roman)
//    7 SGreek   greek            15 Slant    rowmans, sheared
//    8 DGreek   greekc (its empty Y, Z, y, z from greek)
// Every face also gets the Mac Roman degree sign (0xA1) and plus-minus
// (0xB1) from mathlow, and the diameter signs (0xAF, 0xBF) as its own O and
// o with a slash (Math and Sign, whose O and o are symbols, take rowmans').
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "tools/hershey_jhf.h"

namespace fs = std::filesystem;

namespace {

struct FaceSpec {
    const char* name;     // file name and font list name
    const char* source;   // the Hershey font it is made of
    const char* fill;     // where glyphs the source leaves empty come from
    const char* letters;  // where the O and o of the diameter signs come from
    double shear;         // x shift per unit of height above the base line
    int weight;           // lines side by side in the diameter slash
};

// About 12 degrees, the slant of the Hershey italics.
constexpr double kSlant = 0.2126;

constexpr FaceSpec kFaces[] = {
    {"Simplex", "rowmans", nullptr, "rowmans", 0, 1},
    {"Duplex", "rowmand", nullptr, "rowmand", 0, 2},
    {"Triplex", "rowmant", nullptr, "rowmant", 0, 3},
    {"IDuplex", "timesi", nullptr, "timesi", 0, 2},
    {"ITriplex", "timesib", nullptr, "timesib", 0, 3},
    {"Gothic", "gothiceng", nullptr, "gothiceng", 0, 3},
    {"SGreek", "greek", nullptr, "greek", 0, 1},
    {"DGreek", "greekc", "greek", "greekc", 0, 2},
    {"English", "scriptc", nullptr, "scriptc", 0, 2},
    {"Math", "mathlow", nullptr, "rowmans", 0, 1},
    {"Sign", "symbolic", nullptr, "rowmans", 0, 1},
    {"Stick", "futural", nullptr, "futural", 0, 1},
    {"Round", "futuram", nullptr, "futuram", 0, 2},
    {"Block", "timesrb", nullptr, "timesrb", 0, 3},
    {"Slant", "rowmans", nullptr, "rowmans", kSlant, 1},
};

constexpr const char* kMathSource = "mathlow";
constexpr int kMathDegree = '`';
constexpr int kMathPlusMinus = '!';
constexpr int kDegree = 0xA1;
constexpr int kPlusMinus = 0xB1;
constexpr int kCapitalDiameter = 0xAF;
constexpr int kSmallDiameter = 0xBF;

// The cell and the Hershey grid: caps run from y = -12 to the base line at 9.
constexpr double kCellWidth = 42;
constexpr double kAdvance = 63;
constexpr double kCellTop = 63;
constexpr double kLowest = -31;  // descenders stay within half a cell
constexpr double kHersheyBase = 9;
constexpr double kHersheyCap = 21;
constexpr double kCapHeight = kCellTop * 2 / 3;
constexpr int kMaxStrokes = 16383;  // readers size the stroke block in 16 bits

struct PointF {
    double x;
    double y;
};

struct Shape {
    double left = 0;
    double right = 0;
    std::vector<std::vector<PointF>> lines;
};

struct Box {
    double x0 = 1e9, x1 = -1e9, y0 = 1e9, y1 = -1e9;
    bool empty() const { return x0 > x1; }
};

struct Stroke {
    int dx;
    int dy;
    bool up;
};

struct Failure {
    std::string message;
};

Shape shape_of(const drav::jhf::Glyph& g) {
    Shape s;
    s.left = g.left;
    s.right = g.right;
    for (const auto& line : g.lines) {
        if (line.size() < 2) continue;  // a lone point leaves no ink
        auto& out = s.lines.emplace_back();
        for (const auto& p : line) out.push_back({double(p.x), double(p.y)});
    }
    return s;
}

Box ink_box(const Shape& s) {
    Box b;
    for (const auto& line : s.lines)
        for (const auto& p : line) {
            b.x0 = std::min(b.x0, p.x);
            b.x1 = std::max(b.x1, p.x);
            b.y0 = std::min(b.y0, p.y);
            b.y1 = std::max(b.y1, p.y);
        }
    return b;
}

// The letter with a slash from below its lower-left to above its upper-right.
Shape slashed(Shape s, int weight) {
    const Box b = ink_box(s);
    for (int i = 0; i < weight; ++i) {
        const double off = i - (weight - 1) / 2.0;
        s.lines.push_back({{b.x0 - 1 + off, b.y1 + 2}, {b.x1 + 1 + off, b.y0 - 2}});
    }
    return s;
}

void shear(Shape& s, double k) {
    if (k == 0) return;
    for (auto& line : s.lines)
        for (auto& p : line) p.x += k * (kHersheyBase - p.y);
    // The bounds follow the slant at mid cap height.
    const double mid = k * kHersheyCap / 2;
    s.left += mid;
    s.right += mid;
}

// Relative moves from the origin; pen-up moves only where a line starts.
std::vector<Stroke> encode(const std::vector<std::vector<std::pair<int, int>>>& lines) {
    std::vector<Stroke> out;
    int cx = 0, cy = 0;
    for (const auto& line : lines) {
        const auto [sx, sy] = line.front();
        int px = sx, py = sy;
        bool drawn = false;
        auto start = [&] {
            if (sx != cx || sy != cy) out.push_back({sx - cx, sy - cy, true});
            drawn = true;
        };
        for (std::size_t i = 1; i < line.size(); ++i) {
            const auto [x, y] = line[i];
            if (x == px && y == py) continue;
            if (!drawn) start();
            out.push_back({x - px, y - py, false});
            px = x;
            py = y;
        }
        if (!drawn) {  // shrank to a point: keep it as a dot
            start();
            out.push_back({0, 0, false});
        }
        cx = px;
        cy = py;
    }
    return out;
}

struct Face {
    std::string name;
    std::vector<Stroke> strokes;
    std::uint16_t index[256] = {};
};

Face build_face(const FaceSpec& desc, const std::map<std::string, std::vector<drav::jhf::Glyph>>& fonts) {
    const auto& src = fonts.at(desc.source);
    std::optional<Shape> shapes[256];
    // The sources' glyph for 127 is left out: in Mac Roman that is DEL.
    for (int c = ' '; c < 127; ++c) {
        Shape s = shape_of(src[c - 32]);
        if (s.lines.empty() && c != ' ' && desc.fill) s = shape_of(fonts.at(desc.fill)[c - 32]);
        if (s.lines.empty() && c != ' ')
            throw Failure{std::string(desc.name) + ": no strokes for character '" + char(c) +
                          "' in " + desc.source + ".jhf"};
        if (!s.lines.empty()) shapes[c] = s;
    }
    const auto& math = fonts.at(kMathSource);
    const auto& letters = fonts.at(desc.letters);
    shapes[kDegree] = shape_of(math[kMathDegree - 32]);
    shapes[kPlusMinus] = shape_of(math[kMathPlusMinus - 32]);
    shapes[kCapitalDiameter] = slashed(shape_of(letters['O' - 32]), desc.weight);
    shapes[kSmallDiameter] = slashed(shape_of(letters['o' - 32]), desc.weight);

    // One scale for the whole face: caps two thirds of the cell, unless the
    // widest glyph would then not fit in one advance.
    double scale = kCapHeight / kHersheyCap;
    for (auto& s : shapes) {
        if (!s) continue;
        shear(*s, desc.shear);
        const Box b = ink_box(*s);
        if ((b.x1 - b.x0) * scale > kAdvance) scale = kAdvance / (b.x1 - b.x0);
    }

    Face face;
    face.name = desc.name;
    for (int c = 1; c < 256; ++c) {
        face.index[c] = static_cast<std::uint16_t>(face.strokes.size());
        if (!shapes[c] || c == 255) continue;
        const Shape& s = *shapes[c];
        const Box b = ink_box(s);
        // Only a few big operators (integrals, braces) are too tall for the
        // cell at the face's scale; they shrink on their own.
        double g = scale;
        if ((kHersheyBase - b.y0) * g > kCellTop) g = kCellTop / (kHersheyBase - b.y0);
        if ((b.y1 - kHersheyBase) * g > -kLowest) g = -kLowest / (b.y1 - kHersheyBase);
        // Centred on the character cell, kept inside the advance.
        const double mid = (s.left + s.right) / 2;
        double shift = kCellWidth / 2 - mid * g;
        shift = std::max(shift, -b.x0 * g);
        shift = std::min(shift, kAdvance - b.x1 * g);
        std::vector<std::vector<std::pair<int, int>>> lines;
        for (const auto& line : s.lines) {
            auto& out = lines.emplace_back();
            for (const auto& p : line) {
                const int x = int(std::lround(p.x * g + shift));
                const int y = int(std::lround((kHersheyBase - p.y) * g));
                if (x < 0 || x > kAdvance || y < kLowest || y > kCellTop)
                    throw Failure{std::string(desc.name) + ": character " + std::to_string(c) +
                                  " leaves its cell"};
                out.push_back({x, y});
            }
        }
        const auto strokes = encode(lines);
        face.strokes.insert(face.strokes.end(), strokes.begin(), strokes.end());
    }
    if (face.strokes.size() > std::size_t(kMaxStrokes))
        throw Failure{std::string(desc.name) + ": " + std::to_string(face.strokes.size()) +
                      " strokes, more than " + std::to_string(kMaxStrokes)};
    face.index[0] = static_cast<std::uint16_t>(face.strokes.size());
    return face;
}

void put16(std::string& out, unsigned v) {
    out.push_back(char((v >> 8) & 0xFF));
    out.push_back(char(v & 0xFF));
}

std::string stroke_file(const Face& face) {
    std::string out;
    out.reserve(512 + 4 * face.strokes.size());
    for (unsigned v : face.index) put16(out, v);
    for (const auto& s : face.strokes) {
        const unsigned ax = unsigned(std::abs(s.dx));
        const unsigned ay = unsigned(std::abs(s.dy));
        put16(out, (s.up ? 0x8000u : 0u) | (s.dx < 0 ? 0x4000u : 0u) | ax);
        put16(out, (s.dy < 0 ? 0x8000u : 0u) | ay);
    }
    return out;
}

std::string read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    if (!in) throw Failure{"cannot read " + p.string() +
                           " (the package hershey-fonts-data installs it; run tools/bootstrap)"};
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Written beside the target and renamed over it, so a failed run never
// leaves half a file that looks current.
void write_file(const fs::path& p, const std::string& data) {
    const fs::path tmp = p.string() + ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        out.write(data.data(), std::streamsize(data.size()));
        if (!out.flush()) throw Failure{"cannot write " + tmp.string()};
    }
    std::error_code ec;
    fs::rename(tmp, p, ec);
    if (ec) throw Failure{"cannot rename " + tmp.string() + ": " + ec.message()};
}

std::string depfile_path(const fs::path& p) {
    std::string out;
    for (char c : p.string()) {
        if (c == ' ' || c == '#' || c == '\\') out.push_back('\\');
        if (c == '$') out.push_back('$');
        out.push_back(c);
    }
    return out;
}

int run(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: make_stroke_fonts <hershey folder> <output folder> [<depfile>]\n");
        return 2;
    }
    const fs::path hershey = argv[1];
    const fs::path out_dir = argv[2];

    // Every source is read and checked before anything is written.
    std::map<std::string, std::vector<drav::jhf::Glyph>> fonts;
    std::vector<fs::path> inputs;
    auto need = [&](const char* name) {
        if (!name || fonts.count(name)) return;
        const fs::path p = hershey / (std::string(name) + ".jhf");
        std::string error;
        if (!drav::jhf::parse(read_file(p), fonts[name], error))
            throw Failure{p.string() + ": " + error};
        inputs.push_back(p);
    };
    need(kMathSource);
    for (const auto& desc : kFaces) {
        need(desc.source);
        need(desc.fill);
        need(desc.letters);
    }
    std::vector<Face> faces;
    for (const auto& desc : kFaces) faces.push_back(build_face(desc, fonts));

    std::error_code ec;
    fs::create_directories(out_dir, ec);
    if (ec) throw Failure{"cannot create " + out_dir.string() + ": " + ec.message()};
    std::string list;
    int number = 0;
    for (const auto& face : faces) {
        write_file(out_dir / face.name, stroke_file(face));
        list += std::to_string(++number) + " s " + face.name + " s " + face.name + "\n";
    }
    const fs::path list_path = out_dir / "DRAVfonts.txt";
    write_file(list_path, list);

    if (argc == 4) {
        std::string dep = depfile_path(list_path) + ":";
        for (const auto& p : inputs) dep += " " + depfile_path(p);
        write_file(argv[3], dep + "\n");
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const Failure& f) {
        std::fprintf(stderr, "make_stroke_fonts: %s\n", f.message.c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_stroke_fonts: %s\n", e.what());
    }
    return 1;
}
