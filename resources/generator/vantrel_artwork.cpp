// Draws every picture of Vantrel in code and writes the files that
// resources/vantrel.rc embeds. Each image strip is drawn three times, for
// screens at 100, 150 and 200 % (96, 144 and 192 pixels per inch):
//
//   tool_images.bmp, tool_images_150.bmp, tool_images_200.bmp
//       18 images of 16, 24 and 32 pixels (ImageList1 of the main window)
//   tree_images.bmp, tree_images_150.bmp, tree_images_200.bmp
//       37 images of 22, 33 and 44 pixels (ImageList2, node pictures)
//   catch_images.bmp, catch_images_150.bmp, catch_images_200.bmp
//       10 images of 16, 24 and 32 pixels (the Catch Messages window)
//   vantrel.ico       the program icon, 16, 24, 32, 48 and 64 pixels
//
// The strips are 24-bit bitmaps; magenta (255, 0, 255) is the transparent
// colour that the image lists mask out. The icon carries its own AND mask.
//
// The larger sets are drawn for their size, not magnified: a picture's code
// speaks in the cells of its 100 % size, and the primitives below draw areas
// over the cells' pixels at the scale at hand while edges, outlines and hair
// lines stay one pixel wide, curves and slants are traced on the finer grid,
// and letters and small glyphs come from their own drawings per size.
//
// To regenerate (plain C++20, no library beyond the standard one; run it on
// the build machine, not on Windows):
//
//   g++ -std=c++20 -O2 -o /tmp/vantrel_artwork resources/generator/vantrel_artwork.cpp
//   /tmp/vantrel_artwork resources
//
// and commit the files it writes into the given folder. Or use the small
// CMake project beside this file:
//
//   cmake -S resources/generator -B /tmp/artwork && cmake --build /tmp/artwork
//   /tmp/artwork/vantrel_artwork resources

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------- colours

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

constexpr Rgb kClear{255, 0, 255};  // transparent
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kFace{192, 192, 192};
constexpr Rgb kShadow{128, 128, 128};
constexpr Rgb kLight{232, 232, 232};
constexpr Rgb kDark{64, 64, 64};
constexpr Rgb kNavy{0, 0, 128};
constexpr Rgb kBlue{0, 96, 216};
constexpr Rgb kSky{168, 216, 255};
constexpr Rgb kGlass{208, 236, 255};
constexpr Rgb kRed{216, 0, 0};
constexpr Rgb kDarkRed{128, 0, 0};
constexpr Rgb kGreen{0, 176, 0};
constexpr Rgb kDarkGreen{0, 96, 0};
constexpr Rgb kYellow{255, 224, 0};
constexpr Rgb kOchre{160, 120, 0};
constexpr Rgb kPale{255, 255, 200};
constexpr Rgb kOrange{255, 144, 0};
constexpr Rgb kBrown{150, 88, 32};
constexpr Rgb kPink{255, 150, 170};
constexpr Rgb kTeal{0, 128, 128};
constexpr Rgb kPurple{128, 0, 160};

// ---------------------------------------------------------------- scale

// The scale the pictures are drawn at: 1, 1.5 or 2.
double g_scale = 1.0;

// The pixel at which a cell edge falls: cell c covers the pixels P(c) to
// P(c + 1) - 1, one pixel at 100 %, one or two at 150 %, two at 200 %.
int P(double cellEdge) { return static_cast<int>(std::floor(cellEdge * g_scale + 0.25)); }
// The width of one pixel, in cells.
double onePixel() { return 1.0 / g_scale; }
// Picks what was drawn for the scale at hand.
template <typename T>
const T& pick(const T& at100, const T& at150, const T& at200) {
    return g_scale < 1.25 ? at100 : g_scale < 1.75 ? at150 : at200;
}

// ---------------------------------------------------------------- canvas

struct Img {
    struct Pixels {
        int w, h;
    };
    int w, h;  // in pixels
    std::vector<Rgb> p;
    // A picture of the given cells at the scale at hand.
    Img(int cellsWide, int cellsHigh) : Img(Pixels{P(cellsWide), P(cellsHigh)}) {}
    explicit Img(Pixels size) : w(size.w), h(size.h), p(static_cast<size_t>(size.w * size.h), kClear) {}
    bool in(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
    // One pixel.
    void px(int x, int y, Rgb c) {
        if (in(x, y)) p[static_cast<size_t>(y * w + x)] = c;
    }
    Rgb get(int x, int y) const { return in(x, y) ? p[static_cast<size_t>(y * w + x)] : kClear; }
    bool solid(int x, int y) const { return in(x, y) && !(get(x, y) == kClear); }
    // One cell: all its pixels.
    void set(int x, int y, Rgb c) {
        for (int yy = P(y); yy < P(y + 1); ++yy)
            for (int xx = P(x); xx < P(x + 1); ++xx) px(xx, yy, c);
    }
};

// The pixels of a box of cells, edges included.
struct Box {
    int x0, y0, x1, y1;
};
Box box(int x0, int y0, int x1, int y1) { return {P(x0), P(y0), P(x1 + 1) - 1, P(y1 + 1) - 1}; }

void fillPx(Img& m, int x0, int y0, int x1, int y1, Rgb c) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) m.px(x, y, c);
}
void fillBox(Img& m, Box b, Rgb c) { fillPx(m, b.x0, b.y0, b.x1, b.y1, c); }
void framePx(Img& m, Box b, Rgb c) {
    fillPx(m, b.x0, b.y0, b.x1, b.y0, c);
    fillPx(m, b.x0, b.y1, b.x1, b.y1, c);
    fillPx(m, b.x0, b.y0, b.x0, b.y1, c);
    fillPx(m, b.x1, b.y0, b.x1, b.y1, c);
}
// Cells x0..x1 by y0..y1, all of their pixels.
void fill(Img& m, int x0, int y0, int x1, int y1, Rgb c) { fillBox(m, box(x0, y0, x1, y1), c); }
// Hair lines: one pixel through cells x0..x1 (y0..y1), along the top row
// (left column) of cell y (x); hlineB and vlineR take the bottom row (right
// column), for the lower and right edges of a shape.
void hline(Img& m, int x0, int x1, int y, Rgb c) { fillPx(m, P(x0), P(y), P(x1 + 1) - 1, P(y), c); }
void vline(Img& m, int x, int y0, int y1, Rgb c) { fillPx(m, P(x), P(y0), P(x), P(y1 + 1) - 1, c); }
void hlineB(Img& m, int x0, int x1, int y, Rgb c) { fillPx(m, P(x0), P(y + 1) - 1, P(x1 + 1) - 1, P(y + 1) - 1, c); }
void vlineR(Img& m, int x, int y0, int y1, Rgb c) { fillPx(m, P(x + 1) - 1, P(y0), P(x + 1) - 1, P(y1 + 1) - 1, c); }
// The one-pixel edge of the box of cells x0..x1 by y0..y1.
void frame(Img& m, int x0, int y0, int x1, int y1, Rgb c) { framePx(m, box(x0, y0, x1, y1), c); }
// A one-pixel line from cell to cell.
void line(Img& m, int x0, int y0, int x1, int y1, Rgb c) {
    auto anchor = [](int cell) { return P(cell) + (P(cell + 1) - P(cell) - 1) / 2; };
    int ax = anchor(x0), ay = anchor(y0), bx = anchor(x1), by = anchor(y1);
    int dx = std::abs(bx - ax), dy = -std::abs(by - ay);
    int sx = ax < bx ? 1 : -1, sy = ay < by ? 1 : -1, err = dx + dy;
    for (;;) {
        m.px(ax, ay, c);
        if (ax == bx && ay == by) break;
        int e2 = 2 * err;
        if (e2 >= dy) { err += dy; ax += sx; }
        if (e2 <= dx) { err += dx; ay += sy; }
    }
}
// Every pixel whose centre, in cells, passes the test.
void shape(Img& m, Rgb c, const std::function<bool(double, double)>& inside) {
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x)
            if (inside((x + 0.5) / g_scale, (y + 0.5) / g_scale)) m.px(x, y, c);
}
void disk(Img& m, double cx, double cy, double r, Rgb c) {
    shape(m, c, [&](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; });
}
double segDist(double px, double py, double ax, double ay, double bx, double by) {
    double vx = bx - ax, vy = by - ay, wx = px - ax, wy = py - ay;
    double len = vx * vx + vy * vy;
    double t = len > 0 ? std::clamp((wx * vx + wy * vy) / len, 0.0, 1.0) : 0.0;
    return std::hypot(px - (ax + t * vx), py - (ay + t * vy));
}
// A stroke of the given width (in cells) between the centres of two cells.
void thick(Img& m, double ax, double ay, double bx, double by, double width, Rgb c) {
    shape(m, c, [&](double x, double y) {
        return segDist(x, y, ax + 0.5, ay + 0.5, bx + 0.5, by + 0.5) <= width / 2;
    });
}
void tri(Img& m, double ax, double ay, double bx, double by, double cx, double cy, Rgb c) {
    auto side = [](double x0, double y0, double x1, double y1, double x, double y) {
        return (x1 - x0) * (y - y0) - (y1 - y0) * (x - x0);
    };
    shape(m, c, [&](double x, double y) {
        double d1 = side(ax, ay, bx, by, x, y), d2 = side(bx, by, cx, cy, x, y), d3 = side(cx, cy, ax, ay, x, y);
        bool neg = d1 < -1e-9 || d2 < -1e-9 || d3 < -1e-9, pos = d1 > 1e-9 || d2 > 1e-9 || d3 > 1e-9;
        return !(neg && pos);
    });
}

// Pixel art: one string per row, '.' or ' ' leaves the pixel alone.
const std::map<char, Rgb>& palette() {
    static const std::map<char, Rgb> p{
        {'k', kBlack}, {'w', kWhite}, {'g', kFace},   {'d', kShadow}, {'l', kLight},    {'D', kDark},
        {'b', kNavy},  {'c', kBlue},  {'s', kSky},    {'r', kRed},    {'R', kDarkRed},  {'e', kGreen},
        {'E', kDarkGreen}, {'y', kYellow}, {'Y', kOchre}, {'p', kPale}, {'o', kOrange}, {'n', kBrown},
        {'i', kPink},  {'t', kTeal},  {'v', kPurple}, {'m', kClear}, {'#', kBlack},
    };
    return p;
}
using Sprite = std::vector<const char*>;
// A drawing in pixels, its top-left pixel at the top-left of cell (x0, y0):
// small glyphs are drawn once for every size (see pick).
void sprite(Img& m, int x0, int y0, const Sprite& rows) {
    int y = P(y0);
    for (const char* row : rows) {
        for (int x = 0; row[x]; ++x) {
            char ch = row[x];
            if (ch == '.' || ch == ' ') continue;
            auto it = palette().find(ch);
            if (it == palette().end()) throw std::runtime_error(std::string("unknown colour ") + ch);
            m.px(P(x0) + x, y, it->second);
        }
        ++y;
    }
}
int spriteWidth(const Sprite& rows) {
    size_t w = 0;
    for (const char* row : rows) w = std::max(w, std::string(row).size());
    return static_cast<int>(w);
}
// A sprite in one colour: every drawn pixel in c.
void spriteIn(Img& m, int x0, int y0, const Sprite& rows, Rgb c) {
    int y = P(y0);
    for (const char* row : rows) {
        for (int x = 0; row[x]; ++x)
            if (row[x] != '.' && row[x] != ' ') m.px(P(x0) + x, y, c);
        ++y;
    }
}

// Draws each transparent pixel next to (4-neighbour) a drawn one in c.
void outline(Img& m, Rgb c) {
    Img copy = m;
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x)
            if (!copy.solid(x, y) &&
                (copy.solid(x - 1, y) || copy.solid(x + 1, y) || copy.solid(x, y - 1) || copy.solid(x, y + 1)))
                m.px(x, y, c);
}
// Draws a layer's drawn pixels over m.
void over(Img& m, const Img& layer, int dx = 0, int dy = 0) {
    for (int y = 0; y < layer.h; ++y)
        for (int x = 0; x < layer.w; ++x)
            if (layer.solid(x, y)) m.px(x + dx, y + dy, layer.get(x, y));
}
// Draws something on its own layer, outlines it and puts it over m.
void outlined(Img& m, Rgb edge, const std::function<void(Img&)>& draw) {
    Img layer(Img::Pixels{m.w, m.h});
    draw(layer);
    outline(layer, edge);
    over(m, layer);
}

// ---------------------------------------------------------------- small font

// Capitals and the few small letters the pictures need: 3 x 5 pixels at
// 100 %, 5 x 7 at 150 %, 7 x 10 with strokes two pixels broad at 200 %.
const std::map<char, Sprite>& font() {
    static const std::map<char, Sprite> f100{
        {'O', {"###", "#.#", "#.#", "#.#", "###"}}, {'K', {"#.#", "#.#", "##.", "#.#", "#.#"}},
        {'H', {"#.#", "#.#", "###", "#.#", "#.#"}}, {'i', {"#", ".", "#", "#", "#"}},
        {'n', {"...", "##.", "#.#", "#.#", "#.#"}}, {'t', {"#..", "###", "#..", "#..", ".##"}},
        {'A', {".#.", "#.#", "###", "#.#", "#.#"}}, {'a', {"...", "##.", "..#", "###", "###"}},
        {'b', {"#..", "##.", "#.#", "#.#", "##."}}, {'+', {"...", ".#.", "###", ".#.", "..."}},
        {'1', {".#", "##", ".#", ".#", ".#"}},      {'2', {"##.", "..#", ".#.", "#..", "###"}},
        {'/', {"..#", "..#", ".#.", "#..", "#.."}},
    };
    static const std::map<char, Sprite> f150{
        {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
        {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
        {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
        {'i', {"#", ".", "#", "#", "#", "#", "#"}},
        {'n', {"....", "....", "###.", "#..#", "#..#", "#..#", "#..#"}},
        {'t', {".#..", ".#..", "###.", ".#..", ".#..", ".#..", "..##"}},
        {'A', {"..#..", ".#.#.", "#...#", "#...#", "#####", "#...#", "#...#"}},
        {'a', {"....", "....", ".##.", "...#", ".###", "#..#", ".###"}},
        {'b', {"#...", "#...", "###.", "#..#", "#..#", "#..#", "###."}},
        {'+', {".....", "..#..", "..#..", "#####", "..#..", "..#..", "....."}},
        {'1', {".#.", "##.", ".#.", ".#.", ".#.", ".#.", "###"}},
        {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
        {'/', {"...#", "...#", "..#.", "..#.", ".#..", ".#..", "#..."}},
    };
    static const std::map<char, Sprite> f200{
        {'O', {".#####.", "##...##", "##...##", "##...##", "##...##", "##...##", "##...##", "##...##", "##...##",
               ".#####."}},
        {'K', {"##...##", "##..##.", "##.##..", "####...", "###....", "####...", "##.##..", "##..##.", "##...##",
               "##...##"}},
        {'H', {"##...##", "##...##", "##...##", "##...##", "#######", "#######", "##...##", "##...##", "##...##",
               "##...##"}},
        {'i', {"##", "##", "..", "##", "##", "##", "##", "##", "##", "##"}},
        {'n', {"......", "......", "......", "#####.", "##..##", "##..##", "##..##", "##..##", "##..##",
               "##..##"}},
        {'t', {".##..", ".##..", ".##..", "#####", ".##..", ".##..", ".##..", ".##..", ".##..", "..###"}},
        {'A', {"..###..", ".##.##.", "##...##", "##...##", "##...##", "#######", "##...##", "##...##", "##...##",
               "##...##"}},
        {'a', {"......", "......", "......", ".####.", "....##", ".#####", "##..##", "##..##", "##..##",
               ".#####"}},
        {'b', {"##....", "##....", "##....", "#####.", "##..##", "##..##", "##..##", "##..##", "##..##",
               "#####."}},
        {'+', {"......", "......", "..##..", "..##..", "######", "######", "..##..", "..##..", "......",
               "......"}},
        {'1', {".##.", "###.", ".##.", ".##.", ".##.", ".##.", ".##.", ".##.", ".##.", "####"}},
        {'2', {".####.", "##..##", "....##", "....##", "...##.", "..##..", ".##...", "##....", "##....",
               "######"}},
        {'/', {"....#", "...##", "...#.", "..##.", "..#..", ".##..", ".#...", "##...", "#....", "#...."}},
    };
    return pick(f100, f150, f200);
}
int letterGap() { return pick(1, 1, 2); }
// Writes s with its top-left pixel at pixel (x, y).
void textPx(Img& m, int x, int y, const std::string& s, Rgb c) {
    for (char ch : s) {
        const Sprite& g = font().at(ch);
        for (int r = 0; r < static_cast<int>(g.size()); ++r)
            for (int k = 0; g[static_cast<size_t>(r)][k]; ++k)
                if (g[static_cast<size_t>(r)][k] == '#') m.px(x + k, y + r, c);
        x += spriteWidth(g) + letterGap();
    }
}
// Writes s with its top-left pixel at the top-left of cell (x, y).
void text(Img& m, int x, int y, const std::string& s, Rgb c) { textPx(m, P(x), P(y), s, c); }
// The width of s in pixels.
int textWidth(const std::string& s) {
    int w = 0;
    for (char ch : s) w += spriteWidth(font().at(ch)) + letterGap();
    return w - letterGap();
}
int textHeight() { return static_cast<int>(font().at('O').size()); }
// Writes s centred in the box of cells x0..x1 by y0..y1.
void textCentred(Img& m, int x0, int y0, int x1, int y1, const std::string& s, Rgb c) {
    const Box b = box(x0, y0, x1, y1);
    textPx(m, b.x0 + (b.x1 - b.x0 + 1 - textWidth(s)) / 2, b.y0 + (b.y1 - b.y0 + 1 - textHeight()) / 2, s, c);
}

// A polygon, its corners in cells (edges, not centres), filled even-odd.
void poly(Img& m, const std::vector<std::pair<double, double>>& pts, Rgb c) {
    shape(m, c, [&](double x, double y) {
        bool inside = false;
        for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
            const auto [xi, yi] = pts[i];
            const auto [xj, yj] = pts[j];
            if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
        }
        return inside;
    });
}

// ---------------------------------------------------------------- building blocks

Box inset(Box b, int by) { return {b.x0 + by, b.y0 + by, b.x1 - by, b.y1 - by}; }

// Bevels are one pixel at every size.
void raisedPx(Img& m, Box b, Rgb face = kFace) {
    fillBox(m, b, face);
    fillPx(m, b.x0, b.y0, b.x1, b.y0, kWhite);
    fillPx(m, b.x0, b.y0, b.x0, b.y1, kWhite);
    fillPx(m, b.x0, b.y1, b.x1, b.y1, kBlack);
    fillPx(m, b.x1, b.y0, b.x1, b.y1, kBlack);
    fillPx(m, b.x0 + 1, b.y1 - 1, b.x1 - 1, b.y1 - 1, kShadow);
    fillPx(m, b.x1 - 1, b.y0 + 1, b.x1 - 1, b.y1 - 1, kShadow);
}
void raised(Img& m, int x0, int y0, int x1, int y1, Rgb face = kFace) { raisedPx(m, box(x0, y0, x1, y1), face); }
void sunkenPx(Img& m, Box b, Rgb inside = kWhite) {
    fillBox(m, b, inside);
    fillPx(m, b.x0, b.y0, b.x1, b.y0, kShadow);
    fillPx(m, b.x0, b.y0, b.x0, b.y1, kShadow);
    fillPx(m, b.x0 + 1, b.y0 + 1, b.x1 - 1, b.y0 + 1, kDark);
    fillPx(m, b.x0 + 1, b.y0 + 1, b.x0 + 1, b.y1 - 1, kDark);
    fillPx(m, b.x0, b.y1, b.x1, b.y1, kWhite);
    fillPx(m, b.x1, b.y0, b.x1, b.y1, kWhite);
    fillPx(m, b.x0 + 1, b.y1 - 1, b.x1 - 1, b.y1 - 1, kFace);
    fillPx(m, b.x1 - 1, b.y0 + 1, b.x1 - 1, b.y1 - 1, kFace);
}
void sunken(Img& m, int x0, int y0, int x1, int y1, Rgb inside = kWhite) { sunkenPx(m, box(x0, y0, x1, y1), inside); }
// A shallow frame: light above and left or the other way round.
void bevelPx(Img& m, Box b, Rgb topLeft, Rgb bottomRight) {
    fillPx(m, b.x0, b.y0, b.x1, b.y0, topLeft);
    fillPx(m, b.x0, b.y0, b.x0, b.y1, topLeft);
    fillPx(m, b.x0, b.y1, b.x1, b.y1, bottomRight);
    fillPx(m, b.x1, b.y0, b.x1, b.y1, bottomRight);
}
// An etched frame (a group box): a shadow line with a white one a pixel
// below and right of it.
void etchedPx(Img& m, Box b) {
    framePx(m, {b.x0 + 1, b.y0 + 1, b.x1, b.y1}, kWhite);
    framePx(m, {b.x0, b.y0, b.x1 - 1, b.y1 - 1}, kShadow);
}
// A window: black frame, title bar of the given height in cells, client area.
// Returns the box of its title bar.
Box window(Img& m, int x0, int y0, int x1, int y1, Rgb title = kNavy, Rgb client = kWhite, int bar = 3) {
    const Box b = box(x0, y0, x1, y1);
    fillBox(m, b, client);
    framePx(m, b, kBlack);
    const Box t{b.x0 + 1, b.y0 + 1, b.x1 - 1, P(y0 + bar + 1) - 1};
    fillBox(m, t, title);
    fillPx(m, b.x0 + 1, t.y1 + 1, b.x1 - 1, t.y1 + 1, kBlack);
    return t;
}
// A window with a close box on its title bar (for the larger pictures).
void window22(Img& m, int x0, int y0, int x1, int y1, Rgb client = kWhite) {
    window(m, x0, y0, x1, y1, kNavy, client, 4);
    fill(m, x1 - 5, y0 + 1, x1 - 1, y0 + 4, kFace);
    if (g_scale < 1.25) {
        line(m, x1 - 4, y0 + 1, x1 - 2, y0 + 3, kBlack);
        line(m, x1 - 2, y0 + 1, x1 - 4, y0 + 3, kBlack);
    } else {
        // A cross of two pixel diagonals, centred in the box.
        const Box c = box(x1 - 5, y0 + 1, x1 - 1, y0 + 4);
        const int n = std::min(c.x1 - c.x0, c.y1 - c.y0) - 2 * pick(1, 1, 2) + 1;
        const int x = c.x0 + (c.x1 - c.x0 + 1 - n) / 2, y = c.y0 + (c.y1 - c.y0 + 1 - n) / 2;
        for (int i = 0; i < n; ++i) {
            m.px(x + i, y + i, kBlack);
            m.px(x + n - 1 - i, y + i, kBlack);
        }
    }
    vline(m, x1 - 6, y0 + 1, y0 + 4, kNavy);
    // A hint of the title text.
    hline(m, x0 + 2, x0 + 6, y0 + 2, kWhite);
}
// A tick: two broad strokes meeting low on the left.
void checkGlyph(Img& m, int x, int y, Rgb c, double weight = 1.0) {
    if (g_scale < 1.25 && weight == 1.0) {
        spriteIn(m, x, y, {"......#", ".....##", "#...##.", "##.##..", ".###...", "..#...."}, c);
        return;
    }
    const double w = 1.6 * weight;
    thick(m, x + 0.3, y + 2.5, x + 2.3, y + 4.4, w, c);
    thick(m, x + 2.3, y + 4.4, x + 6.0, y + 0.4, w, c);
}
void textLine(Img& m, int x0, int x1, int y, Rgb c = kShadow) { hline(m, x0, x1, y, c); }

// A triangle pointing down (or up, left, right) centred in a box of pixels,
// its base w pixels broad: the glyph on combo and scroll buttons.
enum class Way { Up, Down, Left, Right };
void arrowGlyph(Img& m, Box b, Way way, Rgb c) {
    const bool vertical = way == Way::Up || way == Way::Down;
    const int room = vertical ? b.x1 - b.x0 + 1 : b.y1 - b.y0 + 1;
    int base = std::max(3, room * 5 / 8);
    if (base % 2 == 0) --base;
    const int height = (base + 1) / 2;
    const int cx = (b.x0 + b.x1) / 2, cy = (b.y0 + b.y1) / 2;
    for (int k = 0; k < height; ++k) {
        const int half = way == Way::Down || way == Way::Right ? height - 1 - k : k;
        const int along = (vertical ? cy : cx) - height / 2 + k;
        for (int d = -half; d <= half; ++d) {
            if (vertical) m.px(cx + d, along, c);
            else m.px(along, cy + d, c);
        }
    }
}

void magnifier(Img& m, double cx, double cy, double r, double handle, double hw) {
    // Handle first, then the lens over it: a black rim of one pixel, a grey
    // ring, the glass.
    double hx = cx + r * 0.7, hy = cy + r * 0.7;
    outlined(m, kBlack, [&](Img& l) {
        shape(l, kBrown, [&](double x, double y) {
            return segDist(x, y, hx, hy, hx + handle, hy + handle) <= hw / 2;
        });
    });
    disk(m, cx, cy, r + onePixel(), kBlack);
    disk(m, cx, cy, r, kShadow);
    disk(m, cx, cy, r - 1.0, kGlass);
    // A glint on the glass.
    if (g_scale < 1.25) {
        m.set(static_cast<int>(cx - r / 2), static_cast<int>(cy - r / 2), kWhite);
        m.set(static_cast<int>(cx - r / 2) + 1, static_cast<int>(cy - r / 2) - 1 + (r > 4 ? 0 : 1), kWhite);
        return;
    }
    shape(m, kWhite, [&](double x, double y) {
        const double d = std::hypot(x - cx, y - cy), a = std::atan2(y - cy, x - cx);
        return d <= r - 1.0 - onePixel() && d >= (r - 1.0) * 0.45 && a > -2.6 && a < -1.9;
    });
}

void eraser(Img& m, double ox, double oy, double scale) {
    // A block turned 45 degrees: pink rubber end at the lower left.
    auto inBlock = [&](double x, double y, double u0, double u1) {
        double u = ((x - ox) + (y - oy)) / scale, v = ((x - ox) - (y - oy)) / scale;
        return v >= -3.2 && v <= 3.2 && u >= u0 && u <= u1;
    };
    outlined(m, kBlack, [&](Img& l) {
        shape(l, kSky, [&](double x, double y) { return inBlock(x, y, -1.0, 6.0); });
        shape(l, kPink, [&](double x, double y) { return inBlock(x, y, -6.0, -1.0); });
    });
}

void envelope(Img& m, int x0, int y0, int x1, int y1) {
    fill(m, x0, y0, x1, y1, kWhite);
    frame(m, x0, y0, x1, y1, kBlack);
    int mx = (x0 + x1) / 2, h = (x1 - x0) / 2;
    line(m, x0 + 1, y0 + 1, mx, y0 + std::min(h, y1 - y0 - 2), kShadow);
    line(m, x1 - 1, y0 + 1, x1 - h + ((x1 - x0) % 2 ? 1 : 0), y0 + std::min(h, y1 - y0 - 2), kShadow);
}

// A page with its upper right corner folded over, in the box of cells.
void page(Img& m, int x0, int y0, int x1, int y1, int fold) {
    const Box b = box(x0, y0, x1, y1);
    const int f = P(fold);
    // The sheet without the corner, outlined in black.
    for (int y = b.y0; y <= b.y1; ++y)
        for (int x = b.x0; x <= b.x1; ++x) {
            const int fromCorner = (b.x1 - x) + (y - b.y0);  // 0 at the corner
            if (fromCorner < f) continue;
            const bool edge = x == b.x0 || x == b.x1 || y == b.y0 || y == b.y1 || fromCorner == f;
            m.px(x, y, edge ? kBlack : kWhite);
        }
    // The fold: a triangle below the cut, in shadow with a black edge.
    for (int k = 0; k <= f; ++k) {
        m.px(b.x1 - f + k, b.y0 + k, kBlack);       // the cut
        m.px(b.x1 - f, b.y0 + k, kBlack);           // the fold's left side
        m.px(b.x1 - f + k, b.y0 + f, kBlack);       // the fold's bottom
        for (int x = b.x1 - f + 1; x < b.x1 - f + k; ++x) m.px(x, b.y0 + k, kLight);
    }
}

// ---------------------------------------------------------------- tool images (16 x 16)

// Image 12: a broad white arrow with a black outline pointing down and right,
// its tip in the corner pixel. 13 to 15 are mirrored or turned from it. The
// shape is traced for the size: its outline is one pixel at every scale.
Img cornerArrow() {
    Img m(16, 16);
    const int n = m.w, e = n - 1;
    const double k = n / 16.0;
    auto inside = [&](int x, int y) {
        int u = e - x, v = e - y;  // distance from the tip
        if (u < 0 || v < 0 || x < 0 || y < 0) return false;
        bool head = u + v <= 10 * k;
        bool shaft = std::abs(u - v) <= 2 * k && u + v <= 26 * k;
        return head || shaft;
    };
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            if (!inside(x, y)) continue;
            bool edge = x == e || y == e || !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) ||
                        !inside(x, y + 1);
            m.px(x, y, edge ? kBlack : kWhite);
        }
    return m;
}
Img mirrored(const Img& s, bool leftRight, bool topBottom) {
    Img m(Img::Pixels{s.w, s.h});
    for (int y = 0; y < s.h; ++y)
        for (int x = 0; x < s.w; ++x)
            m.px(leftRight ? s.w - 1 - x : x, topBottom ? s.h - 1 - y : y, s.get(x, y));
    return m;
}

Img toolRefresh() {
    Img m(16, 16);
    constexpr double cx = 8, cy = 8.3, r0 = 4.0, r1 = 5.9, pi = 3.14159265358979;
    auto arcHead = [&](Img& l, double from, double to) {
        shape(l, kGreen, [&](double x, double y) {
            double d = std::hypot(x - cx, y - cy);
            double a = std::atan2(y - cy, x - cx) * 180 / pi;
            return d >= r0 && d <= r1 && a >= from && a <= to;
        });
        double t = to * pi / 180, rm = (r0 + r1) / 2;
        double px = cx + rm * std::cos(t), py = cy + rm * std::sin(t);
        double nx = std::cos(t), ny = std::sin(t), tx = -ny, ty = nx;
        if (to < 0)  // only the end of the turn carries the head
            tri(l, px + nx * 3.0, py + ny * 3.0, px - nx * 3.0, py - ny * 3.0, px + tx * 4.2, py + ty * 4.2,
                kGreen);
    };
    // One turn of the ring clockwise from the upper right, the head closing it.
    outlined(m, kDarkGreen, [&](Img& l) {
        arcHead(l, -180, -70);
        arcHead(l, 0, 180);
    });
    return m;
}

Img toolFindWindow() {
    Img m(16, 16);
    window(m, 0, 0, 12, 10);
    magnifier(m, 9.5, 9.5, 3.5, 3.5, 2.6);
    return m;
}

Img toolFindNext() {
    Img m(16, 16);
    magnifier(m, 6.0, 6.0, 4.0, 3.2, 2.6);
    outlined(m, kNavy, [](Img& l) {
        fill(l, 7, 12, 11, 13, kBlue);
        tri(l, 11.0, 9.6, 15.0, 13.0, 11.0, 16.4, kBlue);
    });
    return m;
}

Img toolShow() {
    Img m(16, 16);
    // An eye.
    shape(m, kBlack, [](double x, double y) {
        double t = (x - 8) / 7.6;
        if (std::abs(t) > 1) return false;
        return std::abs(y - 8) <= 5.2 * (1 - t * t) + 0.3;
    });
    shape(m, kWhite, [](double x, double y) {
        double t = (x - 8) / 6.4;
        if (std::abs(t) > 1) return false;
        return std::abs(y - 8) <= 4.2 * (1 - t * t) - 0.2;
    });
    disk(m, 8, 8, 3.3, kBlue);
    disk(m, 8, 8, 1.6, kBlack);
    m.set(6, 6, kWhite);
    // Lashes.
    m.set(4, 2, kBlack); m.set(8, 1, kBlack); m.set(12, 2, kBlack);
    m.set(8, 2, kBlack);
    return m;
}

Img toolEnable() {
    Img m(16, 16);
    outlined(m, kDarkGreen, [](Img& l) {
        thick(l, 2.5, 8.5, 6, 12, 3.2, kGreen);
        thick(l, 6, 12, 13, 3, 3.2, kGreen);
    });
    return m;
}

Img toolStayOnTop() {
    Img m(16, 16);
    window(m, 5, 6, 15, 15, kShadow, kLight, 2);
    // The front window, raised over the other with a shadow.
    fill(m, 2, 2, 12, 11, kShadow);
    window(m, 0, 0, 10, 9, kNavy, kWhite, 2);
    // A push pin on it.
    outlined(m, kDarkRed, [](Img& l) { disk(l, 12.5, 3.0, 2.3, kRed); });
    line(m, 11, 5, 9, 7, kBlack);
    m.set(12, 2, kPink);
    return m;
}

Img toolEditMove() {
    Img m(16, 16);
    window(m, 0, 2, 11, 13);
    // Pencil lying from the upper right down to the left.
    outlined(m, kBlack, [](Img& l) {
        thick(l, 13.5, 1.5, 7, 8, 3.2, kYellow);
        thick(l, 14.3, 0.7, 13.5, 1.5, 3.2, kPink);
        tri(l, 5.2, 8.6, 7.6, 11.0, 3.5, 12.5, kBrown);
    });
    m.set(4, 11, kBlack);
    return m;
}

Img captionGlyph(int which) {
    Img m(16, 16);
    window(m, 0, 1, 15, 14, kNavy, kWhite, 3);
    // A small window outline with a title two pixels thick at every size.
    auto small = [&](int x0, int y0, int x1, int y1) {
        const Box b = box(x0, y0, x1, y1);
        fillBox(m, b, kWhite);
        framePx(m, b, kBlack);
        fillPx(m, b.x0, b.y0 + 1, b.x1, b.y0 + pick(1, 1, 2), kBlack);
    };
    switch (which) {
    case 0:  // minimize: a bar at the bottom
        fill(m, 4, 10, 10, 11, kBlack);
        break;
    case 1:  // restore: two boxes
        small(6, 6, 12, 10);
        small(3, 8, 9, 12);
        break;
    case 2:  // maximize: one box with a thick top
        small(3, 6, 12, 12);
        break;
    }
    return m;
}

Img toolClose() {
    Img m(16, 16);
    outlined(m, kDarkRed, [](Img& l) {
        thick(l, 3, 3, 12, 12, 3.3, kRed);
        thick(l, 12, 3, 3, 12, 3.3, kRed);
    });
    return m;
}

Img toolShowPosition() {
    Img m(16, 16);
    window(m, 4, 4, 11, 11, kNavy, kWhite, 1);
    // Small arrows at the corners, pointing at them.
    Img a(Img::Pixels{m.w, m.h});
    sprite(a, 0, 0, pick<Sprite>({"k...", ".k.k", "..kk", ".kkk"},
                                 {"k.....", ".k....", "..k..k", "...k.k", "....kk", "..kkkk"},
                                 {"k.......", ".k......", "..k.....", "...k...k", "....k..k", ".....k.k",
                                  "......kk", "....kkkk"}));
    over(m, a);
    over(m, mirrored(a, true, false));
    over(m, mirrored(a, true, true));
    over(m, mirrored(a, false, true));
    return m;
}

Img toolClearPointers() {
    Img m(16, 16);
    eraser(m, 8.5, 7.5, 1.0);
    hline(m, 1, 14, 15, kShadow);
    return m;
}

Img toolCatchMessages() {
    Img m(16, 16);
    envelope(m, 0, 7, 11, 15);
    // A fish hook on its line, caught in the envelope's edge.
    vline(m, 13, 0, 2, kDark);
    outlined(m, kBlack, [](Img& l) {
        shape(l, kSky, [](double x, double y) {
            const double w = 0.9;
            if (segDist(x, y, 13.5, 4.0, 13.5, 11.0) <= w) return true;          // shank
            if (segDist(x, y, 9.5, 8.5, 9.5, 11.0) <= w) return true;            // point
            if (y >= 11.0 && std::abs(std::hypot(x - 11.5, y - 11.0) - 2.0) <= w) // bend
                return true;
            return false;
        });
    });
    return m;
}
// ---------------------------------------------------------------- tree images (22 x 22)

Img treeQuestion() {
    Img m(22, 22);
    outlined(m, kBlack, [](Img& l) {
        if (g_scale < 1.25) {
            sprite(l, 6, 2, {
                "..cccccc..",
                ".cccccccc.",
                "ccc....ccc",
                "ccc....ccc",
                ".......ccc",
                "......ccc.",
                ".....ccc..",
                "....ccc...",
                "....ccc...",
                "....ccc...",
                "..........",
                "....ccc...",
                "....ccc...",
                "....ccc...",
            });
            return;
        }
        // The hook: a broad ring open to the lower left, then the stem down
        // to the middle, then the dot.
        shape(l, kBlue, [](double x, double y) {
            constexpr double cx = 11.0, cy = 6.3, pi = 3.14159265358979;
            const double d = std::hypot(x - cx, y - cy), a = std::atan2(y - cy, x - cx) * 180 / pi;
            if (d >= 1.7 && d <= 4.4 && (a <= 40 || a >= 179)) return true;
            if (segDist(x, y, 13.4, 9.3, 11.0, 11.4) <= 1.5) return true;
            if (std::abs(x - 11.0) <= 1.5 && y >= 11.0 && y <= 13.0) return true;
            return std::abs(x - 11.0) <= 1.5 && y >= 14.0 && y <= 17.0;
        });
    });
    return m;
}

Img treeApplication() {
    Img m(22, 22);
    window(m, 8, 0, 21, 11, kShadow, kLight, 2);
    window(m, 4, 4, 17, 15, kTeal, kLight, 2);
    window(m, 0, 8, 13, 21, kNavy, kWhite, 3);
    textLine(m, 2, 9, 14);
    textLine(m, 2, 7, 16);
    textLine(m, 2, 10, 18);
    return m;
}

Img treeBitBtn() {
    Img m(22, 22);
    raised(m, 0, 4, 21, 17);
    if (g_scale < 1.25) {
        checkGlyph(m, 3, 8, kGreen);
        checkGlyph(m, 3, 9, kGreen);
    } else {
        checkGlyph(m, 3, 8, kGreen, 1.4);
    }
    textCentred(m, 11, 4, 20, 17, "OK", kBlack);
    return m;
}

Img treeButton() {
    Img m(22, 22);
    // A default button: the extra black edge round the bevel.
    const Box b = box(0, 4, 21, 17);
    fillBox(m, b, kFace);
    framePx(m, b, kBlack);
    bevelPx(m, inset(b, 1), kWhite, kShadow);
    textCentred(m, 0, 4, 21, 17, "OK", kBlack);
    return m;
}

void checkBoxAt(Img& m, int x, int y, bool checked) {
    sunken(m, x, y, x + 10, y + 10);
    if (checked) checkGlyph(m, x + 2, y + 3, kBlack);
}

Img treeCheckBox() {
    Img m(22, 22);
    checkBoxAt(m, 1, 5, true);
    textLine(m, 14, 21, 9, kBlack);
    textLine(m, 14, 19, 11, kBlack);
    return m;
}

Img treeCheckList() {
    Img m(22, 22);
    sunken(m, 0, 0, 21, 21);
    for (int i = 0; i < 3; ++i) {
        int y = 3 + i * 6;
        fill(m, 3, y, 8, y + 5, kWhite);
        frame(m, 3, y, 8, y + 5, kDark);
        if (i != 1) {
            if (g_scale < 1.25) {
                sprite(m, 4, y + 1, {"...k", "k.kk", "kkk.", ".k.."});
            } else {
                thick(m, 4.1, y + 2.3, 5.0, y + 3.3, 1.2, kBlack);
                thick(m, 5.0, y + 3.3, 6.9, y + 1.1, 1.2, kBlack);
            }
        }
        textLine(m, 11, i == 1 ? 15 : 18, y + 3, kBlack);
    }
    return m;
}

Img treeCombo() {
    Img m(22, 22);
    sunken(m, 0, 2, 21, 11);
    textLine(m, 3, 10, 6, kBlack);
    raised(m, 13, 4, 19, 9);
    if (g_scale < 1.25) sprite(m, 14, 5, {"kkkkk", ".kkk.", "..k.."});
    else arrowGlyph(m, inset(box(13, 4, 19, 9), 2), Way::Down, kBlack);
    // The list dropped below it.
    fill(m, 2, 12, 21, 21, kWhite);
    frame(m, 2, 12, 21, 21, kBlack);
    fill(m, 3, 15, 20, 17, kNavy);
    textLine(m, 5, 12, 14);
    textLine(m, 5, 14, 16, kWhite);
    textLine(m, 5, 11, 19);
    return m;
}

Img treeControlBar() {
    Img m(22, 22);
    raised(m, 0, 5, 21, 16);
    // The grip: two ridges, a white and a grey pixel side by side.
    for (int x : {3, 6}) {
        fillPx(m, P(x + 1) - 1, P(7), P(x + 1) - 1, P(15) - 1, kWhite);
        fillPx(m, P(x + 1), P(7), P(x + 1), P(15) - 1, kShadow);
    }
    raised(m, 9, 7, 14, 14, kFace);
    fill(m, 11, 9, 12, 12, kBlue);
    raised(m, 15, 7, 20, 14, kFace);
    fill(m, 17, 9, 18, 12, kRed);
    return m;
}

Img treeEdit() {
    Img m(22, 22);
    sunken(m, 0, 5, 21, 16);
    text(m, 3, 8, "ab", kBlack);
    // The caret.
    vline(m, 11, 7, 13, kBlack);
    return m;
}

Img treeGrid() {
    Img m(22, 22);
    fill(m, 0, 0, 21, 21, kWhite);
    fill(m, 0, 0, 21, 4, kFace);
    fill(m, 0, 0, 4, 21, kFace);
    for (int x = 0; x <= 21; x += 5) vline(m, x, 0, 21, kShadow);
    for (int y = 0; y <= 21; y += 5) hline(m, 0, 21, y, kShadow);
    vlineR(m, 21, 0, 21, kBlack);
    hlineB(m, 0, 21, 21, kBlack);
    fill(m, 11, 11, 14, 14, kNavy);
    return m;
}

Img treeGroupBox() {
    Img m(22, 22);
    // An etched frame with a gap for its caption.
    etchedPx(m, box(1, 4, 21, 21));
    fill(m, 4, 2, 14, 6, kClear);
    hline(m, 5, 13, 4, kBlack);
    hline(m, 5, 10, 6, kBlack);
    vline(m, 1, 4, 20, kShadow);
    return m;
}

Img treeHotKey() {
    Img m(22, 22);
    sunken(m, 0, 4, 21, 17);
    auto key = [&](int x) {
        const Box b = box(x, 7, x + 6, 14);
        fillBox(m, b, kLight);
        framePx(m, b, kDark);
        fillPx(m, b.x0 + 1, b.y1 - 1, b.x1 - 1, b.y1 - 1, kShadow);
    };
    key(2);
    textCentred(m, 2, 7, 8, 14, "A", kBlack);
    textCentred(m, 9, 7, 12, 14, "+", kBlack);
    key(13);
    textCentred(m, 13, 7, 19, 14, "1", kBlack);
    return m;
}

void scrollBarV(Img& m, int x0, int y0, int y1) {
    fill(m, x0, y0, x0 + 4, y1, kLight);
    raised(m, x0, y0, x0 + 4, y0 + 4);
    raised(m, x0, y1 - 4, x0 + 4, y1);
    if (g_scale < 1.25) {
        m.set(x0 + 2, y0 + 1, kBlack); hline(m, x0 + 1, x0 + 3, y0 + 2, kBlack);
        m.set(x0 + 2, y1 - 2, kBlack); hline(m, x0 + 1, x0 + 3, y1 - 3, kBlack);
    } else {
        arrowGlyph(m, inset(box(x0, y0, x0 + 4, y0 + 4), 2), Way::Up, kBlack);
        arrowGlyph(m, inset(box(x0, y1 - 4, x0 + 4, y1), 2), Way::Down, kBlack);
    }
    raised(m, x0, y0 + 6, x0 + 4, y0 + 10);
}

void scrollBarH(Img& m, int x0, int x1, int y0) {
    fill(m, x0, y0, x1, y0 + 4, kLight);
    raised(m, x0, y0, x0 + 4, y0 + 4);
    raised(m, x1 - 4, y0, x1, y0 + 4);
    if (g_scale < 1.25) {
        m.set(x0 + 1, y0 + 2, kBlack); vline(m, x0 + 2, y0 + 1, y0 + 3, kBlack);
        m.set(x1 - 2, y0 + 2, kBlack); vline(m, x1 - 3, y0 + 1, y0 + 3, kBlack);
    } else {
        arrowGlyph(m, inset(box(x0, y0, x0 + 4, y0 + 4), 2), Way::Left, kBlack);
        arrowGlyph(m, inset(box(x1 - 4, y0, x1, y0 + 4), 2), Way::Right, kBlack);
    }
    raised(m, x0 + 7, y0, x0 + 11, y0 + 4);
}

Img treeListBox() {
    Img m(22, 22);
    sunken(m, 0, 0, 21, 21);
    for (int i = 0; i < 5; ++i) textLine(m, 3, i % 2 ? 12 : 14, 4 + i * 3, kBlack);
    fill(m, 2, 9, 15, 11, kNavy);
    textLine(m, 3, 12, 10, kWhite);
    scrollBarV(m, 16, 2, 19);
    return m;
}

Img treeListView() {
    Img m(22, 22);
    sunken(m, 0, 0, 21, 21);
    const Rgb colours[] = {kBlue, kYellow, kGreen, kRed};
    for (int i = 0; i < 4; ++i) {
        int x = 3 + (i % 2) * 9, y = 3 + (i / 2) * 9;
        fill(m, x + 1, y, x + 5, y + 4, colours[i]);
        frame(m, x + 1, y, x + 5, y + 4, kBlack);
        textLine(m, x, x + 6, y + 6, kShadow);
    }
    return m;
}

Img treeMaskEdit() {
    Img m(22, 22);
    sunken(m, 0, 5, 21, 16);
    text(m, 3, 8, "12", kBlack);
    text(m, 10, 8, "/", kBlack);
    // The blanks still to fill, on the letters' last row.
    const int base = P(8) + textHeight() - 1;
    fillPx(m, P(14), base, P(17) - 1, base, kBlack);
    fillPx(m, P(18), base, P(20) - 1, base, kBlack);
    return m;
}

Img treeMemo() {
    Img m(22, 22);
    sunken(m, 0, 0, 21, 21);
    const int lengths[] = {12, 10, 13, 7, 11, 12, 5};
    for (int i = 0; i < 7; ++i) textLine(m, 3, 3 + lengths[i] - 1, 3 + i * 2 + (i > 3 ? 2 : 0), kBlack);
    scrollBarV(m, 16, 2, 19);
    return m;
}

Img treePageControl() {
    Img m(22, 22);
    // Two back tabs, then the page with the front tab joined to it. Tabs meet
    // on a shared edge: each fills up to the first pixel of cell x1.
    auto tab = [&](int x0, int x1, int top) {
        fillPx(m, P(x0), P(top), P(x1), P(7) - 1, kFace);
        fillPx(m, P(x0) + 1, P(top), P(x1) - 1, P(top), kWhite);
        fillPx(m, P(x0), P(top + 1), P(x0), P(7) - 1, kWhite);
        fillPx(m, P(x1), P(top + 1), P(x1), P(7) - 1, kBlack);
        fillPx(m, P(x1) - 1, P(top + 1), P(x1) - 1, P(7) - 1, kShadow);
    };
    tab(8, 14, 2);
    tab(14, 20, 2);
    raised(m, 0, 6, 21, 21);
    tab(0, 8, 0);
    fillPx(m, P(1), P(6), P(8) - 1, P(6), kFace);
    textLine(m, 2, 5, 3, kBlack);
    // Something on the page.
    sunken(m, 3, 9, 18, 13);
    textLine(m, 3, 15, 16, kBlack);
    textLine(m, 3, 11, 18, kBlack);
    return m;
}

Img treePanel() {
    Img m(22, 22);
    raised(m, 0, 2, 21, 19);
    // An inner lowered bevel makes it read as a panel, not a button.
    bevelPx(m, box(3, 5, 18, 16), kShadow, kWhite);
    return m;
}

Img treeProgress() {
    Img m(22, 22);
    sunken(m, 0, 6, 21, 15, kFace);
    for (int x = 3; x + 2 <= 15; x += 4) fill(m, x, 9, x + 2, 12, kBlue);
    return m;
}

void radioAt(Img& m, double cx, double cy, double r, bool on) {
    disk(m, cx, cy, r, kDark);
    disk(m, cx, cy, r - 1.0, kWhite);
    if (on) disk(m, cx, cy, r * 0.4, kBlack);
}

Img treeRadioButton() {
    Img m(22, 22);
    radioAt(m, 5.5, 11, 5.5, true);
    textLine(m, 13, 21, 9, kBlack);
    textLine(m, 13, 18, 11, kBlack);
    return m;
}

Img treeRadioGroup() {
    Img m(22, 22);
    const Box b = box(0, 2, 21, 21);
    framePx(m, {b.x0, b.y0, b.x1 - 1, b.y1 - 1}, kShadow);
    framePx(m, {b.x0 + 1, b.y0 + 1, b.x1, b.y1}, kWhite);
    vline(m, 0, 2, 20, kShadow);
    hline(m, 0, 20, 2, kShadow);
    fill(m, 3, 0, 12, 4, kClear);
    hline(m, 4, 11, 2, kBlack);
    auto small = [&](int x, int y, bool on) { radioAt(m, x + 3.0, y + 3.0, 3.6, on); };
    small(4, 6, true);
    textLine(m, 11, 17, 8, kBlack);
    small(4, 13, false);
    textLine(m, 11, 16, 15, kBlack);
    return m;
}

Img treeRichEdit() {
    Img m(22, 22);
    // A page with a folded corner and formatted text.
    if (g_scale < 1.25) {
        fill(m, 2, 0, 19, 21, kWhite);
        frame(m, 2, 0, 19, 21, kBlack);
        sprite(m, 14, 0, {"kkkkk.", "kwwwk.", "kwwk..", "kwk...", "kkkkkk"});
        fill(m, 15, 0, 19, 0, kClear);
        for (int y = 1; y <= 3; ++y) fill(m, 19 - (3 - y), y, 19, y - 1 + 1 > 3 ? 3 : y - 1, kClear);
        fill(m, 16, 1, 19, 1, kClear); fill(m, 17, 2, 19, 2, kClear); fill(m, 18, 3, 19, 3, kClear);
        m.set(19, 4, kBlack);
    } else {
        page(m, 2, 0, 19, 21, 5);
    }
    fill(m, 4, 3, 12, 4, kRed);
    textLine(m, 4, 16, 7, kBlack);
    textLine(m, 4, 13, 9, kBlue);
    textLine(m, 4, 16, 11, kBlack);
    fill(m, 4, 13, 10, 14, kGreen);
    textLine(m, 4, 15, 16, kBlack);
    textLine(m, 4, 11, 18, kPurple);
    return m;
}

Img treeScrollBar() {
    Img m(22, 22);
    fill(m, 7, 0, 14, 21, kLight);
    frame(m, 7, 0, 14, 21, kShadow);
    raised(m, 7, 0, 14, 6);
    raised(m, 7, 15, 14, 21);
    if (g_scale < 1.25) {
        sprite(m, 9, 2, {"..k..", ".kkk.", "kkkkk"});
        sprite(m, 9, 17, {"kkkkk", ".kkk.", "..k.."});
    } else {
        arrowGlyph(m, inset(box(7, 0, 14, 6), 2), Way::Up, kBlack);
        arrowGlyph(m, inset(box(7, 15, 14, 21), 2), Way::Down, kBlack);
    }
    raised(m, 7, 8, 14, 12);
    return m;
}

Img treeScrollBox() {
    Img m(22, 22);
    sunken(m, 0, 0, 21, 21, kFace);
    // Content cut off at the edges.
    fill(m, 4, 4, 13, 12, kWhite);
    frame(m, 4, 4, 13, 12, kShadow);
    fill(m, 6, 6, 8, 8, kBlue);
    fill(m, 10, 8, 15, 15, kYellow);
    frame(m, 10, 8, 15, 15, kOchre);
    scrollBarV(m, 16, 2, 14);
    scrollBarH(m, 2, 14, 16);
    fill(m, 16, 16, 20, 20, kFace);
    return m;
}

Img treeSpeedButton() {
    Img m(22, 22);
    raised(m, 0, 0, 21, 21);
    outlined(m, kBlack, [](Img& l) {
        if (g_scale < 1.25) {
            sprite(l, 6, 3, {
                "....yyyy",
                "...yyyy.",
                "..yyyy..",
                ".yyyy...",
                "yyyyyyyy",
                "...yyyy.",
                "..yyyy..",
                "..yyy...",
                ".yyy....",
                ".yy.....",
                "yy......",
            });
            return;
        }
        // The flash: a slanted bar down to a broad step, then a tail that
        // narrows to its point at the lower left.
        poly(l, {{10.0, 3.0}, {14.0, 3.0}, {10.6, 7.0}, {14.0, 7.0}, {13.4, 8.0}, {6.3, 14.0},
                 {8.6, 8.0}, {6.0, 8.0}},
             kYellow);
    });
    return m;
}

Img treeStatic() {
    Img m(22, 22);
    if (g_scale < 1.25) {
        sprite(m, 3, 2, {
            "......kkkk......",
            "......kkkk......",
            ".....kkkkkk.....",
            ".....kkkkkk.....",
            ".....kkk.kkk....",
            "....kkkk.kkkk...",
            "....kkk...kkk...",
            "...kkkk...kkkk..",
            "...kkkkkkkkkkk..",
            "..kkkkkkkkkkkkk.",
            "..kkk.......kkk.",
            ".kkkk.......kkkk",
            ".kkk.........kkk",
            "kkkkk.......kkkkk",
            "kkkkk.......kkkkk",
        });
        return m;
    }
    // A bold capital A with serifs at its feet.
    poly(m, {{9.0, 2.0}, {13.0, 2.0}, {18.6, 15.0}, {20.0, 15.0}, {20.0, 17.0}, {15.0, 17.0}, {15.0, 15.0},
             {15.9, 15.0}, {14.7, 12.2}, {8.3, 12.2}, {7.1, 15.0}, {8.0, 15.0}, {8.0, 17.0}, {3.0, 17.0},
             {3.0, 15.0}, {4.4, 15.0}},
         kBlack);
    poly(m, {{10.7, 5.2}, {11.3, 5.2}, {13.6, 10.0}, {9.4, 10.0}}, kClear);
    return m;
}

Img treeStatusBar() {
    Img m(22, 22);
    // The lower part of a window with its status bar.
    fill(m, 0, 0, 21, 12, kWhite);
    frame(m, 0, -1, 21, 21, kBlack);
    fill(m, 1, 13, 20, 20, kFace);
    hlineB(m, 1, 20, 12, kShadow);
    // Sunken panels.
    bevelPx(m, box(2, 14, 10, 19), kShadow, kWhite);
    bevelPx(m, box(12, 14, 15, 19), kShadow, kWhite);
    textLine(m, 4, 8, 16, kBlack);
    // Size grip: grey and white pixel slants in the corner.
    if (g_scale < 1.25) {
        for (int i = 0; i < 3; ++i) line(m, 17 + i, 20 - 0, 20, 17 + i, kShadow);
        line(m, 18, 20, 20, 18, kWhite);
    } else {
        const Box g = box(17, 17, 20, 20);
        const int n = g.x1 - g.x0 + 1;
        for (int k = 1; k < n; k += 3)
            for (int i = 0; i <= k; ++i) {
                m.px(g.x1 - k + i, g.y1 - i, kShadow);
                m.px(g.x1 - k + i + 1, g.y1 - i, kWhite);
            }
    }
    textLine(m, 3, 14, 4, kShadow);
    textLine(m, 3, 11, 7, kShadow);
    return m;
}

Img treeTabControl() {
    Img m(22, 22);
    // A row of three tabs above a thin page edge. Tabs meet on a shared
    // edge: each fills up to the first pixel of cell x1, the last one to the
    // picture's edge.
    auto tab = [&](int x0, int x1, int top, bool front) {
        const int right = x1 >= 21 ? P(x1 + 1) - 1 : P(x1);
        fillPx(m, P(x0), P(top), right, P(15) - 1, front ? kWhite : kFace);
        fillPx(m, P(x0) + 1, P(top), right - 1, P(top), kBlack);
        fillPx(m, P(x0), P(top + 1), P(x0), P(15) - 1, kBlack);
        fillPx(m, right, P(top + 1), right, P(15) - 1, kBlack);
        textLine(m, x0 + 2, x1 - 2, top + 3, front ? kBlack : kShadow);
    };
    tab(7, 14, 6, false);
    tab(14, 21, 6, false);
    hline(m, 0, 21, 14, kBlack);
    tab(0, 8, 4, true);
    fill(m, 1, 14, 7, 14, kWhite);
    fill(m, 0, 15, 21, 18, kWhite);
    vline(m, 0, 14, 18, kBlack);
    vlineR(m, 21, 14, 18, kBlack);
    return m;
}

Img treeTrackBar() {
    Img m(22, 22);
    // The track: a groove of a grey, a dark and a white pixel line.
    for (auto [k, c] : {std::pair{-1, kShadow}, {0, kDark}, {1, kWhite}})
        fillPx(m, P(1), P(8) + k, P(21) - 1, P(8) + k, c);
    // The pointer.
    if (g_scale < 1.25) {
        sprite(m, 7, 3, {
            "wwwwwk",
            "wgggdk",
            "wgggdk",
            "wgggdk",
            "wgggdk",
            "wgggdk",
            ".wgdk.",
            "..wk..",
        });
    } else {
        const Box b = box(7, 3, 12, 10);
        const int w = b.x1 - b.x0 + 1, tip = w / 2, body = b.y1 - tip;
        for (int y = b.y0; y <= b.y1; ++y) {
            const int in = y <= body ? 0 : y - body;  // how far the sides have closed in
            const int x0 = b.x0 + in, x1 = b.x1 - in;
            if (x0 > x1) break;
            for (int x = x0; x <= x1; ++x) m.px(x, y, kFace);
            m.px(x0, y, kWhite);
            m.px(x1, y, kBlack);
            if (x1 - 1 > x0) m.px(x1 - 1, y, kShadow);
            if (y == b.y0) fillPx(m, x0, y, x1 - 1, y, kWhite);
        }
    }
    // Tick marks.
    for (int x = 1; x <= 20; x += 3) vline(m, x, 14, x == 1 || x == 19 ? 17 : 15, kBlack);
    vline(m, 20, 14, 17, kBlack);
    return m;
}

Img treeToolBar() {
    Img m(22, 22);
    raised(m, 0, 4, 21, 17);
    if (g_scale < 1.25) {
        // A page.
        sprite(m, 2, 6, {
            "kkkkk..",
            "kwwwkk.",
            "kwwwkwk",
            "kwwwwwk",
            "kwwwwwk",
            "kwwwwwk",
            "kwwwwwk",
            "kkkkkkk",
        });
        // A folder.
        sprite(m, 12, 7, {
            ".kkk.....",
            "kyyyk....",
            "kyyyykkkk",
            "kyyyyyyyk",
            "kyyyyyyyk",
            "kyyyyyyyk",
            "kkkkkkkkk",
        });
    } else {
        page(m, 2, 6, 8, 13, 2);
        outlined(m, kBlack, [](Img& l) {
            fill(l, 13, 8, 15, 9, kYellow);
            fill(l, 13, 9, 19, 12, kYellow);
        });
    }
    // A separator between them.
    fillPx(m, P(11) - 1, P(6), P(11) - 1, P(16) - 1, kShadow);
    fillPx(m, P(11), P(6), P(11), P(16) - 1, kWhite);
    return m;
}

Img treePalette() {
    Img m(22, 22);
    window22(m, 0, 0, 21, 21, kFace);
    const Rgb colours[] = {kRed, kOrange, kYellow, kGreen, kTeal, kBlue, kNavy, kPurple, kPink,
                           kBrown, kBlack, kWhite};
    for (int i = 0; i < 12; ++i) {
        int x = 2 + (i % 4) * 5, y = 7 + (i / 4) * 5;
        fill(m, x, y, x + 3, y + 3, colours[i]);
        frame(m, x, y, x + 3, y + 3, kDark);
    }
    return m;
}

Img treeTree() {
    Img m(22, 22);
    auto node = [&](int x, int y, Rgb c) {
        fill(m, x, y, x + 4, y + 4, c);
        frame(m, x, y, x + 4, y + 4, kBlack);
    };
    // Dotted lines one pixel broad: every other pixel.
    auto dotted = [&](int x0, int y0, int x1, int y1) {
        const Box b{P(x0), P(y0), x0 == x1 ? P(x0) : P(x1 + 1) - 1, y0 == y1 ? P(y0) : P(y1 + 1) - 1};
        for (int y = b.y0; y <= b.y1; ++y)
            for (int x = b.x0; x <= b.x1; ++x)
                if ((x + y) % 2 == 0) m.px(x, y, kShadow);
    };
    dotted(3, 5, 3, 19);
    dotted(3, 10, 9, 10);
    dotted(3, 19, 9, 19);
    dotted(11, 13, 11, 15);
    dotted(11, 15, 15, 15);
    node(1, 0, kYellow);
    node(8, 8, kYellow);
    node(14, 13, kWhite);
    node(8, 17, kWhite);
    return m;
}

Img treeWindow() {
    Img m(22, 22);
    window22(m, 0, 1, 21, 20);
    return m;
}

Img treeMenu() {
    Img m(22, 22);
    // A menu bar with one menu open below it.
    fill(m, 0, 0, 21, 4, kFace);
    hline(m, 0, 21, 5, kShadow);
    textLine(m, 2, 5, 2, kBlack);
    fill(m, 7, 0, 13, 4, kNavy);
    textLine(m, 8, 12, 2, kWhite);
    textLine(m, 15, 19, 2, kBlack);
    const Box b = box(7, 5, 20, 21);
    fillBox(m, b, kFace);
    framePx(m, b, kBlack);
    fillPx(m, b.x0 + 1, b.y0 + 1, b.x1 - 1, b.y0 + 1, kWhite);
    fillPx(m, b.x0 + 1, b.y0 + 1, b.x0 + 1, b.y1 - 1, kWhite);
    textLine(m, 10, 17, 8, kBlack);
    fill(m, 9, 10, 19, 12, kNavy);
    textLine(m, 10, 15, 11, kWhite);
    textLine(m, 10, 16, 14, kBlack);
    // The separator: a grey and a white pixel line.
    fillPx(m, P(9), P(17) - 1, P(19) - 1, P(17) - 1, kShadow);
    fillPx(m, P(9), P(17), P(19) - 1, P(17), kWhite);
    textLine(m, 10, 14, 19, kBlack);
    return m;
}

Img treeHeader() {
    Img m(22, 22);
    raised(m, 0, 5, 9, 12);
    raised(m, 10, 5, 21, 12);
    textLine(m, 2, 6, 8, kBlack);
    textLine(m, 12, 18, 8, kBlack);
    // The rows under the header.
    fill(m, 0, 13, 21, 21, kWhite);
    frame(m, 0, 13, 21, 21, kShadow);
    textLine(m, 2, 7, 15, kShadow); textLine(m, 12, 17, 15, kShadow);
    textLine(m, 2, 6, 18, kShadow); textLine(m, 12, 19, 18, kShadow);
    return m;
}

Img treeScroller() {
    Img m(22, 22);
    // Two dark panes side by side.
    fill(m, 0, 1, 9, 20, kDark);
    frame(m, 0, 1, 9, 20, kBlack);
    fill(m, 12, 1, 21, 20, kNavy);
    frame(m, 12, 1, 21, 20, kBlack);
    textLine(m, 2, 7, 4, kShadow);
    textLine(m, 14, 19, 4, kBlue);
    fill(m, 10, 1, 11, 20, kFace);
    return m;
}

Img treeHint() {
    Img m(22, 22);
    const Box b = box(0, 6, 21, 15);
    fillBox(m, b, kPale);
    framePx(m, b, kBlack);
    fillBox(m, inset(b, 1), kYellow);
    textCentred(m, 0, 6, 21, 15, "Hint", kBlack);
    hline(m, 2, 21, 16, kShadow);
    return m;
}

// ---------------------------------------------------------------- catch images (16 x 16)

Img catchStart() {
    Img m(16, 16);
    outlined(m, kDarkGreen, [](Img& l) { tri(l, 4, 1.5, 4, 14.5, 13.5, 8, kGreen); });
    return m;
}

Img catchStop() {
    Img m(16, 16);
    const Box b = box(2, 2, 13, 13);
    fillBox(m, b, kDarkRed);
    fillBox(m, inset(b, 1), kRed);
    fillPx(m, b.x0 + 1, b.y0 + 1, b.x1 - 2, b.y0 + 1, kPink);
    fillPx(m, b.x0 + 1, b.y0 + 1, b.x0 + 1, b.y1 - 2, kPink);
    return m;
}

Img catchTimer() {
    Img m(16, 16);
    disk(m, 8, 8, 7.6, kBlack);
    disk(m, 8, 8, 6.6, kWhite);
    for (auto [x, y] : {std::pair{7, 1}, {8, 1}, {7, 14}, {8, 14}, {1, 7}, {1, 8}, {14, 7}, {14, 8}})
        m.set(x, y, kBlue);
    vline(m, 7, 3, 8, kBlack);
    line(m, 8, 8, 11, 11, kRed);
    m.set(7, 8, kBlack);
    return m;
}

Img catchPaint() {
    Img m(16, 16);
    outlined(m, kBlack, [](Img& l) {
        thick(l, 13.5, 1.5, 8.5, 6.5, 2.4, kBrown);   // handle
        thick(l, 8.5, 6.5, 6.5, 8.5, 3.4, kFace);     // ferrule
        shape(l, kBlue, [](double x, double y) {     // bristles
            return segDist(x, y, 6, 9, 2.2, 12.8) <= 2.2 && y - x >= 1.5;
        });
        tri(l, 1.0, 11.5, 4.5, 15.0, 0.5, 15.5, kBlue);
    });
    return m;
}

Img catchMouse() {
    Img m(16, 16);
    // The cable.
    line(m, 8, 0, 9, 2, kDark);
    m.set(7, 0, kDark);
    outlined(m, kBlack, [](Img& l) {
        shape(l, kLight, [](double x, double y) {
            double dx = (x - 8) / 5.0, dy = (y - 9.5) / 6.0;
            return dx * dx + dy * dy <= 1.0;
        });
    });
    hline(m, 3, 12, 8, kDark);
    vline(m, 8, 4, 8, kDark);
    fill(m, 5, 5, 7, 7, kRed);
    fill(m, 6, 5, 7, 5, kRed);
    return m;
}

Img catchKeyboard() {
    Img m(16, 16);
    fill(m, 0, 3, 15, 13, kFace);
    frame(m, 0, 3, 15, 13, kBlack);
    hline(m, 1, 14, 4, kWhite);
    for (int row = 0; row < 3; ++row)
        for (int x = 2 + (row == 1 ? 1 : 0); x + 1 <= 13; x += 3) fill(m, x, 6 + row * 2, x + 1, 6 + row * 2, kDark);
    hline(m, 4, 11, 12, kDark);  // space bar
    fill(m, 2, 12, 2, 12, kDark);
    for (int x = 2; x <= 13; ++x) m.set(x, 11, kFace);
    return m;
}

Img catchCursor() {
    Img m(16, 16);
    // An I-beam caret with the rays of its blinking.
    if (g_scale < 1.25) {
        sprite(m, 5, 1, {
            "kk.kk",
            "..k..",
            "..k..",
            "..k..",
            "..k..",
            "..k..",
            "..k..",
            "..k..",
            "..k..",
            "..k..",
            "..k..",
            "..k..",
            "..k..",
            "kk.kk",
        });
    } else {
        // A stem one pixel broad (two at 200 %) with a serif either side at
        // both ends.
        const int stem = pick(1, 1, 2);
        const int x = P(7) + (P(8) - P(7) - stem) / 2, top = P(1), bottom = P(15) - 1;
        fillPx(m, x, top + 1, x + stem - 1, bottom - 1, kBlack);
        fillPx(m, P(5), top, x - 1, top, kBlack);
        fillPx(m, x + stem, top, P(10) - 1, top, kBlack);
        fillPx(m, P(5), bottom, x - 1, bottom, kBlack);
        fillPx(m, x + stem, bottom, P(10) - 1, bottom, kBlack);
    }
    for (auto [x, y] : {std::pair{1, 4}, {2, 5}, {13, 4}, {12, 5}, {1, 11}, {2, 10}, {13, 11}, {12, 10},
                        {0, 8}, {1, 8}, {14, 8}, {15, 8}})
        m.set(x, y, kOrange);
    return m;
}

Img catchOther() {
    Img m(16, 16);
    envelope(m, 0, 3, 15, 13);
    return m;
}

Img catchClear() {
    Img m(16, 16);
    // A blank page with the eraser over it.
    fill(m, 1, 0, 10, 13, kWhite);
    frame(m, 1, 0, 10, 13, kShadow);
    eraser(m, 10.5, 10.5, 0.85);
    return m;
}

Img catchDetails() {
    Img m(16, 16);
    // A written page with a lens over its lines: what each message means.
    page(m, 0, 0, 11, 15, 3);
    for (const auto& [y, end] : {std::pair{3, 6}, {5, 9}, {7, 9}, {9, 7}, {11, 8}, {13, 9}}) textLine(m, 2, end, y, kNavy);
    magnifier(m, 9.5, 9.5, 3.5, 3.0, 2.6);
    return m;
}

// ---------------------------------------------------------------- program icon

Img icon32() {
    Img m(32, 32);
    window(m, 0, 1, 27, 26, kNavy, kWhite, 4);
    fill(m, 22, 2, 26, 5, kFace);
    line(m, 23, 2, 25, 4, kBlack);
    line(m, 25, 2, 23, 4, kBlack);
    // A window tree in the client area.
    auto node = [&](int x, int y, Rgb c) {
        fill(m, x, y, x + 3, y + 3, c);
        frame(m, x, y, x + 3, y + 3, kBlack);
    };
    for (int y = 11; y <= 23; y += 2) m.set(4, y, kShadow);
    for (int x = 6; x <= 8; x += 2) m.set(x, 13, kShadow), m.set(x, 19, kShadow);
    for (int y = 17; y <= 21; y += 2) m.set(11, y, kShadow);
    m.set(13, 21, kShadow);
    node(3, 7, kYellow);
    textLine(m, 8, 16, 8, kBlack);
    node(9, 12, kYellow);
    textLine(m, 14, 22, 13, kBlack);
    node(9, 18, kWhite);
    textLine(m, 14, 19, 19, kBlack);
    node(14, 21, kWhite);
    // The magnifier over its lower right.
    magnifier(m, 20.5, 20.5, 6.0, 6.5, 3.6);
    return m;
}

Img icon16() {
    Img m(16, 16);
    window(m, 0, 0, 13, 12, kNavy, kWhite, 2);
    fill(m, 2, 5, 3, 6, kYellow);
    m.set(2, 8, kShadow);
    fill(m, 4, 9, 5, 10, kWhite);
    frame(m, 4, 9, 5, 10, kDark);
    magnifier(m, 10.0, 10.0, 3.6, 3.2, 2.6);
    return m;
}

// ---------------------------------------------------------------- file output


// ---------------------------------------------------------------- file output

void put16(std::vector<std::uint8_t>& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v & 0xFF));
    b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}
void put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

Img strip(const std::vector<Img>& images) {
    int w = 0, h = images.front().h;
    for (const Img& i : images) {
        if (i.h != h || i.w != images.front().w) throw std::runtime_error("images of different sizes");
        w += i.w;
    }
    Img s(Img::Pixels{w, h});
    int x = 0;
    for (const Img& i : images) {
        for (int yy = 0; yy < h; ++yy)
            for (int xx = 0; xx < i.w; ++xx) s.px(x + xx, yy, i.get(xx, yy));
        x += i.w;
    }
    return s;
}

// A bottom-up 24-bit bitmap file.
void writeBmp(const std::string& path, const Img& m) {
    const std::uint32_t rowBytes = static_cast<std::uint32_t>((m.w * 3 + 3) & ~3);
    const std::uint32_t dataBytes = rowBytes * static_cast<std::uint32_t>(m.h);
    std::vector<std::uint8_t> b;
    b.push_back('B');
    b.push_back('M');
    put32(b, 14 + 40 + dataBytes);
    put32(b, 0);
    put32(b, 14 + 40);
    put32(b, 40);
    put32(b, static_cast<std::uint32_t>(m.w));
    put32(b, static_cast<std::uint32_t>(m.h));
    put16(b, 1);
    put16(b, 24);
    put32(b, 0);  // BI_RGB
    put32(b, dataBytes);
    put32(b, 2835);
    put32(b, 2835);
    put32(b, 0);
    put32(b, 0);
    for (int y = m.h - 1; y >= 0; --y) {
        for (int x = 0; x < m.w; ++x) {
            Rgb c = m.get(x, y);
            b.push_back(c.b);
            b.push_back(c.g);
            b.push_back(c.r);
        }
        for (std::uint32_t k = static_cast<std::uint32_t>(m.w * 3); k < rowBytes; ++k) b.push_back(0);
    }
    writeFile(path, b);
}

// One icon image: 32-bit colour with alpha, then the 1-bit AND mask
// (1 = transparent), both bottom-up.
std::vector<std::uint8_t> iconImage(const Img& m) {
    std::vector<std::uint8_t> b;
    put32(b, 40);
    put32(b, static_cast<std::uint32_t>(m.w));
    put32(b, static_cast<std::uint32_t>(m.h * 2));
    put16(b, 1);
    put16(b, 32);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    for (int y = m.h - 1; y >= 0; --y)
        for (int x = 0; x < m.w; ++x) {
            Rgb c = m.get(x, y);
            bool clear = c == kClear;
            b.push_back(clear ? 0 : c.b);
            b.push_back(clear ? 0 : c.g);
            b.push_back(clear ? 0 : c.r);
            b.push_back(clear ? 0 : 255);
        }
    const int maskRow = ((m.w + 31) / 32) * 4;
    for (int y = m.h - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(static_cast<size_t>(maskRow), 0);
        for (int x = 0; x < m.w; ++x)
            if (m.get(x, y) == kClear) row[static_cast<size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

void writeIco(const std::string& path, const std::vector<Img>& images) {
    std::vector<std::vector<std::uint8_t>> data;
    for (const Img& i : images) data.push_back(iconImage(i));
    std::vector<std::uint8_t> b;
    put16(b, 0);
    put16(b, 1);  // icon
    put16(b, static_cast<unsigned>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (size_t k = 0; k < images.size(); ++k) {
        b.push_back(static_cast<std::uint8_t>(images[k].w));
        b.push_back(static_cast<std::uint8_t>(images[k].h));
        b.push_back(0);  // no palette
        b.push_back(0);
        put16(b, 1);   // planes
        put16(b, 32);  // bits per pixel
        put32(b, static_cast<std::uint32_t>(data[k].size()));
        put32(b, offset);
        offset += static_cast<std::uint32_t>(data[k].size());
    }
    for (const auto& d : data) b.insert(b.end(), d.begin(), d.end());
    writeFile(path, b);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string dir = argc > 1 ? argv[1] : ".";
    try {
        std::vector<Img> icons;
        for (const auto& [scale, suffix] : {std::pair{1.0, ""}, {1.5, "_150"}, {2.0, "_200"}}) {
            g_scale = scale;
            const Img arrow = cornerArrow();
            std::vector<Img> tools{
                toolRefresh(),      toolFindWindow(),  toolFindNext(),   toolShow(),
                toolEnable(),       toolStayOnTop(),   toolEditMove(),   captionGlyph(0),
                captionGlyph(1),    captionGlyph(2),   toolClose(),      toolShowPosition(),
                arrow,              mirrored(arrow, true, false), mirrored(arrow, true, true),
                mirrored(arrow, false, true), toolClearPointers(), toolCatchMessages(),
            };
            std::vector<Img> tree{
                treeQuestion(),  treeApplication(), treeBitBtn(),     treeButton(),     treeCheckBox(),
                treeCheckList(), treeCombo(),       treeControlBar(), treeEdit(),       treeGrid(),
                treeGroupBox(),  treeHotKey(),      treeListBox(),    treeListView(),   treeMaskEdit(),
                treeMemo(),      treePageControl(), treePanel(),      treeProgress(),   treeRadioButton(),
                treeRadioGroup(), treeRichEdit(),   treeScrollBar(),  treeScrollBox(),  treeSpeedButton(),
                treeStatic(),    treeStatusBar(),   treeTabControl(), treeTrackBar(),   treeToolBar(),
                treePalette(),   treeTree(),        treeWindow(),     treeMenu(),       treeHeader(),
                treeScroller(),  treeHint(),
            };
            std::vector<Img> catches{
                catchStart(), catchStop(),   catchTimer(), catchPaint(), catchMouse(),
                catchKeyboard(), catchCursor(), catchOther(), catchClear(), catchDetails(),
            };
            if (tools.size() != 18 || tree.size() != 37 || catches.size() != 10)
                throw std::runtime_error("wrong number of images");
            const std::string s = suffix;
            writeBmp(dir + "/tool_images" + s + ".bmp", strip(tools));
            writeBmp(dir + "/tree_images" + s + ".bmp", strip(tree));
            writeBmp(dir + "/catch_images" + s + ".bmp", strip(catches));
            // The icon: 32 and 16 pixels drawn at 100 %, 48 and 24 at 150 %,
            // 64 at 200 %.
            icons.push_back(icon32());
            if (scale < 1.75) icons.push_back(icon16());
        }
        writeIco(dir + "/vantrel.ico", icons);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vantrel_artwork: %s\n", e.what());
        return 1;
    }
    return 0;
}
