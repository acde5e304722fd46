// Draws every picture of Vantrel in code and writes the files that
// resources/vantrel.rc embeds:
//
//   tool_images.bmp   18 images of 16 x 16 (ImageList1 of the main window)
//   tree_images.bmp   37 images of 22 x 22 (ImageList2, node pictures)
//   catch_images.bmp   9 images of 16 x 16 (the Catch Messages window)
//   vantrel.ico       the program icon, 32 x 32 and 16 x 16
//
// The strips are 24-bit bitmaps; magenta (255, 0, 255) is the transparent
// colour that the image lists mask out. The icon carries its own AND mask.
//
// To regenerate (plain C++20, no library beyond the standard one; run it on
// the build machine, not on Windows):
//
//   g++ -std=c++20 -O2 -o /tmp/vantrel_artwork resources/generator/vantrel_artwork.cpp
//   /tmp/vantrel_artwork resources
//
// and commit the four files it writes into the given folder. Or use the
// small CMake project beside this file:
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

// ---------------------------------------------------------------- canvas

struct Img {
    int w, h;
    std::vector<Rgb> p;
    Img(int width, int height) : w(width), h(height), p(static_cast<size_t>(width * height), kClear) {}
    bool in(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
    void set(int x, int y, Rgb c) {
        if (in(x, y)) p[static_cast<size_t>(y * w + x)] = c;
    }
    Rgb get(int x, int y) const { return in(x, y) ? p[static_cast<size_t>(y * w + x)] : kClear; }
    bool solid(int x, int y) const { return in(x, y) && !(get(x, y) == kClear); }
};

void fill(Img& m, int x0, int y0, int x1, int y1, Rgb c) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) m.set(x, y, c);
}
void hline(Img& m, int x0, int x1, int y, Rgb c) { fill(m, x0, y, x1, y, c); }
void vline(Img& m, int x, int y0, int y1, Rgb c) { fill(m, x, y0, x, y1, c); }
void frame(Img& m, int x0, int y0, int x1, int y1, Rgb c) {
    hline(m, x0, x1, y0, c);
    hline(m, x0, x1, y1, c);
    vline(m, x0, y0, y1, c);
    vline(m, x1, y0, y1, c);
}
void line(Img& m, int x0, int y0, int x1, int y1, Rgb c) {
    int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1, err = dx + dy;
    for (;;) {
        m.set(x0, y0, c);
        if (x0 == x1 && y0 == y1) break;
        int e2 = 2 * err;
        if (e2 >= dy) { err += dy; x0 += sx; }
        if (e2 <= dx) { err += dx; y0 += sy; }
    }
}
// Every pixel whose centre passes the test.
void shape(Img& m, Rgb c, const std::function<bool(double, double)>& inside) {
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x)
            if (inside(x + 0.5, y + 0.5)) m.set(x, y, c);
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
// A stroke of the given width between two points in pixel-centre coordinates.
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
        {'i', kPink},  {'t', kTeal},  {'v', kPurple}, {'m', kClear},
    };
    return p;
}
void art(Img& m, int x0, int y0, std::initializer_list<const char*> rows) {
    int y = y0;
    for (const char* row : rows) {
        for (int x = 0; row[x]; ++x) {
            char ch = row[x];
            if (ch == '.' || ch == ' ') continue;
            auto it = palette().find(ch);
            if (it == palette().end()) throw std::runtime_error(std::string("unknown colour ") + ch);
            m.set(x0 + x, y, it->second);
        }
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
                m.set(x, y, c);
}
// Draws a layer's drawn pixels over m.
void over(Img& m, const Img& layer, int dx = 0, int dy = 0) {
    for (int y = 0; y < layer.h; ++y)
        for (int x = 0; x < layer.w; ++x)
            if (layer.solid(x, y)) m.set(x + dx, y + dy, layer.get(x, y));
}
// Draws something on its own layer, outlines it and puts it over m.
void outlined(Img& m, Rgb edge, const std::function<void(Img&)>& draw) {
    Img layer(m.w, m.h);
    draw(layer);
    outline(layer, edge);
    over(m, layer);
}

// ---------------------------------------------------------------- small font

// 3 x 5 capitals and the few small letters the pictures need.
const std::map<char, std::vector<const char*>>& font() {
    static const std::map<char, std::vector<const char*>> f{
        {'O', {"###", "#.#", "#.#", "#.#", "###"}}, {'K', {"#.#", "#.#", "##.", "#.#", "#.#"}},
        {'H', {"#.#", "#.#", "###", "#.#", "#.#"}}, {'i', {"#", ".", "#", "#", "#"}},
        {'n', {"...", "##.", "#.#", "#.#", "#.#"}}, {'t', {"#..", "###", "#..", "#..", ".##"}},
        {'A', {".#.", "#.#", "###", "#.#", "#.#"}}, {'a', {"...", "##.", "..#", "###", "###"}},
        {'b', {"#..", "##.", "#.#", "#.#", "##."}}, {'+', {"...", ".#.", "###", ".#.", "..."}},
        {'1', {".#", "##", ".#", ".#", ".#"}},      {'2', {"##.", "..#", ".#.", "#..", "###"}},
        {'/', {"..#", "..#", ".#.", "#..", "#.."}},
    };
    return f;
}
int text(Img& m, int x, int y, const std::string& s, Rgb c) {
    for (char ch : s) {
        const auto& g = font().at(ch);
        for (int r = 0; r < 5; ++r)
            for (int k = 0; g[r][k]; ++k)
                if (g[r][k] == '#') m.set(x + k, y + r, c);
        x += static_cast<int>(std::string(g[0]).size()) + 1;
    }
    return x;
}
int textWidth(const std::string& s) {
    int w = 0;
    for (char ch : s) w += static_cast<int>(std::string(font().at(ch)[0]).size()) + 1;
    return w - 1;
}

// ---------------------------------------------------------------- building blocks

void raised(Img& m, int x0, int y0, int x1, int y1, Rgb face = kFace) {
    fill(m, x0, y0, x1, y1, face);
    hline(m, x0, x1, y0, kWhite);
    vline(m, x0, y0, y1, kWhite);
    hline(m, x0, x1, y1, kBlack);
    vline(m, x1, y0, y1, kBlack);
    hline(m, x0 + 1, x1 - 1, y1 - 1, kShadow);
    vline(m, x1 - 1, y0 + 1, y1 - 1, kShadow);
}
void sunken(Img& m, int x0, int y0, int x1, int y1, Rgb inside = kWhite) {
    fill(m, x0, y0, x1, y1, inside);
    hline(m, x0, x1, y0, kShadow);
    vline(m, x0, y0, y1, kShadow);
    hline(m, x0 + 1, x1 - 1, y0 + 1, kDark);
    vline(m, x0 + 1, y0 + 1, y1 - 1, kDark);
    hline(m, x0, x1, y1, kWhite);
    vline(m, x1, y0, y1, kWhite);
    hline(m, x0 + 1, x1 - 1, y1 - 1, kFace);
    vline(m, x1 - 1, y0 + 1, y1 - 1, kFace);
}
// A window: black frame, title bar of the given height, client area.
void window(Img& m, int x0, int y0, int x1, int y1, Rgb title = kNavy, Rgb client = kWhite, int bar = 3) {
    fill(m, x0, y0, x1, y1, client);
    frame(m, x0, y0, x1, y1, kBlack);
    fill(m, x0 + 1, y0 + 1, x1 - 1, y0 + bar, title);
    hline(m, x0 + 1, x1 - 1, y0 + bar + 1, kBlack);
}
// A window with a close box on its title bar (for the larger pictures).
void window22(Img& m, int x0, int y0, int x1, int y1, Rgb client = kWhite) {
    window(m, x0, y0, x1, y1, kNavy, client, 4);
    fill(m, x1 - 5, y0 + 1, x1 - 1, y0 + 4, kFace);
    line(m, x1 - 4, y0 + 1, x1 - 2, y0 + 3, kBlack);
    line(m, x1 - 2, y0 + 1, x1 - 4, y0 + 3, kBlack);
    vline(m, x1 - 6, y0 + 1, y0 + 4, kNavy);
    // A hint of the title text.
    hline(m, x0 + 2, x0 + 6, y0 + 2, kWhite);
}
void checkGlyph(Img& m, int x, int y, Rgb c) {
    const char* rows[] = {"......#", ".....##", "#...##.", "##.##..", ".###...", "..#...."};
    for (int r = 0; r < 6; ++r)
        for (int k = 0; rows[r][k]; ++k)
            if (rows[r][k] == '#') m.set(x + k, y + r, c);
}
void textLine(Img& m, int x0, int x1, int y, Rgb c = kShadow) { hline(m, x0, x1, y, c); }

void magnifier(Img& m, double cx, double cy, double r, double handle, double hw) {
    // Handle first, then the lens over it.
    double hx = cx + r * 0.7, hy = cy + r * 0.7;
    outlined(m, kBlack, [&](Img& l) {
        shape(l, kBrown, [&](double x, double y) {
            return segDist(x, y, hx, hy, hx + handle, hy + handle) <= hw / 2;
        });
    });
    disk(m, cx, cy, r + 1.0, kBlack);
    disk(m, cx, cy, r, kShadow);
    disk(m, cx, cy, r - 1.0, kGlass);
    // A glint on the glass.
    m.set(static_cast<int>(cx - r / 2), static_cast<int>(cy - r / 2), kWhite);
    m.set(static_cast<int>(cx - r / 2) + 1, static_cast<int>(cy - r / 2) - 1 + (r > 4 ? 0 : 1), kWhite);
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

// ---------------------------------------------------------------- tool images (16 x 16)

// Image 12: a broad white arrow with a black outline pointing down and right,
// its tip in the corner pixel (15, 15). 13 to 15 are mirrored or turned from it.
Img cornerArrow() {
    Img m(16, 16);
    auto inside = [](int x, int y) {
        int u = 15 - x, v = 15 - y;  // distance from the tip
        if (u < 0 || v < 0) return false;
        bool head = u + v <= 10;
        bool shaft = std::abs(u - v) <= 2 && u + v <= 26;
        return head || shaft;
    };
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            if (!inside(x, y)) continue;
            bool edge = x == 15 || y == 15 || !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) ||
                        !inside(x, y + 1);
            m.set(x, y, edge ? kBlack : kWhite);
        }
    return m;
}
Img mirrored(const Img& s, bool leftRight, bool topBottom) {
    Img m(s.w, s.h);
    for (int y = 0; y < s.h; ++y)
        for (int x = 0; x < s.w; ++x)
            m.set(leftRight ? s.w - 1 - x : x, topBottom ? s.h - 1 - y : y, s.get(x, y));
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
    switch (which) {
    case 0:  // minimize: a bar at the bottom
        fill(m, 4, 10, 10, 11, kBlack);
        break;
    case 1:  // restore: two boxes
        frame(m, 6, 6, 12, 10, kBlack);
        hline(m, 6, 12, 7, kBlack);
        fill(m, 3, 8, 9, 12, kWhite);
        frame(m, 3, 8, 9, 12, kBlack);
        hline(m, 3, 9, 9, kBlack);
        break;
    case 2:  // maximize: one box with a thick top
        frame(m, 3, 6, 12, 12, kBlack);
        hline(m, 3, 12, 7, kBlack);
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
    const Img a = [] {
        Img s(16, 16);
        art(s, 0, 0, {"k...", ".k.k", "..kk", ".kkk"});
        return s;
    }();
    over(m, a, 0, 0);
    over(m, mirrored(a, true, false), 0, 0);
    over(m, mirrored(a, true, true), 0, 0);
    over(m, mirrored(a, false, true), 0, 0);
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
        art(l, 6, 2, {
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
    checkGlyph(m, 3, 8, kGreen);
    checkGlyph(m, 3, 9, kGreen);
    text(m, 12, 8, "OK", kBlack);
    return m;
}

Img treeButton() {
    Img m(22, 22);
    raised(m, 0, 4, 21, 17);
    frame(m, 0, 4, 21, 17, kBlack);  // default button: the extra black edge
    hline(m, 1, 20, 5, kWhite);
    vline(m, 1, 5, 16, kWhite);
    hline(m, 1, 20, 16, kShadow);
    vline(m, 20, 5, 16, kShadow);
    text(m, 11 - textWidth("OK") / 2 - 1, 8, "OK", kBlack);
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
        if (i != 1) art(m, 4, y + 1, {"...k", "k.kk", "kkk.", ".k.."});
        textLine(m, 11, i == 1 ? 15 : 18, y + 3, kBlack);
    }
    return m;
}

Img treeCombo() {
    Img m(22, 22);
    sunken(m, 0, 2, 21, 11);
    textLine(m, 3, 10, 6, kBlack);
    raised(m, 13, 4, 19, 9);
    art(m, 14, 5, {"kkkkk", ".kkk.", "..k.."});
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
    // The grip: two ridges.
    for (int x : {3, 6}) {
        vline(m, x, 7, 14, kWhite);
        vline(m, x + 1, 7, 14, kShadow);
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
    vline(m, 21, 0, 21, kBlack);
    hline(m, 0, 21, 21, kBlack);
    fill(m, 11, 11, 14, 14, kNavy);
    return m;
}

Img treeGroupBox() {
    Img m(22, 22);
    // An etched frame with a gap for its caption.
    frame(m, 1, 4, 20, 20, kShadow);
    frame(m, 2, 5, 21, 21, kWhite);
    frame(m, 1, 4, 20, 20, kShadow);
    vline(m, 2, 5, 19, kWhite);
    hline(m, 2, 19, 5, kWhite);
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
        fill(m, x, 7, x + 6, 14, kLight);
        frame(m, x, 7, x + 6, 14, kDark);
        hline(m, x + 1, x + 5, 13, kShadow);
    };
    key(2);
    text(m, 4, 8, "A", kBlack);
    text(m, 9, 8, "+", kBlack);
    key(13);
    text(m, 15, 8, "1", kBlack);
    return m;
}

void scrollBarV(Img& m, int x0, int y0, int y1) {
    fill(m, x0, y0, x0 + 4, y1, kLight);
    raised(m, x0, y0, x0 + 4, y0 + 4);
    m.set(x0 + 2, y0 + 1, kBlack); hline(m, x0 + 1, x0 + 3, y0 + 2, kBlack);
    raised(m, x0, y1 - 4, x0 + 4, y1);
    m.set(x0 + 2, y1 - 2, kBlack); hline(m, x0 + 1, x0 + 3, y1 - 3, kBlack);
    raised(m, x0, y0 + 6, x0 + 4, y0 + 10);
}
void scrollBarH(Img& m, int x0, int x1, int y0) {
    fill(m, x0, y0, x1, y0 + 4, kLight);
    raised(m, x0, y0, x0 + 4, y0 + 4);
    m.set(x0 + 1, y0 + 2, kBlack); vline(m, x0 + 2, y0 + 1, y0 + 3, kBlack);
    raised(m, x1 - 4, y0, x1, y0 + 4);
    m.set(x1 - 2, y0 + 2, kBlack); vline(m, x1 - 3, y0 + 1, y0 + 3, kBlack);
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
    hline(m, 14, 16, 12, kBlack);
    hline(m, 18, 19, 12, kBlack);
    m.set(19, 12, kBlack);
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
    // Two back tabs, then the page with the front tab joined to it.
    auto tab = [&](int x0, int x1, int top) {
        fill(m, x0, top, x1, 6, kFace);
        hline(m, x0 + 1, x1 - 1, top, kWhite);
        vline(m, x0, top + 1, 6, kWhite);
        vline(m, x1, top + 1, 6, kBlack);
        vline(m, x1 - 1, top + 1, 6, kShadow);
    };
    tab(8, 14, 2);
    tab(14, 20, 2);
    raised(m, 0, 6, 21, 21);
    tab(0, 8, 0);
    fill(m, 1, 6, 7, 6, kFace);
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
    hline(m, 3, 18, 5, kShadow);
    vline(m, 3, 5, 16, kShadow);
    hline(m, 3, 18, 16, kWhite);
    vline(m, 18, 5, 16, kWhite);
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
    frame(m, 0, 2, 20, 20, kShadow);
    frame(m, 1, 3, 21, 21, kWhite);
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
    fill(m, 2, 0, 19, 21, kWhite);
    frame(m, 2, 0, 19, 21, kBlack);
    art(m, 14, 0, {"kkkkk.", "kwwwk.", "kwwk..", "kwk...", "kkkkkk"});
    fill(m, 15, 0, 19, 0, kClear);
    for (int y = 1; y <= 3; ++y) fill(m, 19 - (3 - y), y, 19, y - 1 + 1 > 3 ? 3 : y - 1, kClear);
    fill(m, 16, 1, 19, 1, kClear); fill(m, 17, 2, 19, 2, kClear); fill(m, 18, 3, 19, 3, kClear);
    m.set(19, 4, kBlack);
    hline(m, 4, 12, 3, kRed); hline(m, 4, 12, 4, kRed);
    textLine(m, 4, 16, 7, kBlack);
    textLine(m, 4, 13, 9, kBlue);
    textLine(m, 4, 16, 11, kBlack);
    hline(m, 4, 10, 13, kGreen); hline(m, 4, 10, 14, kGreen);
    textLine(m, 4, 15, 16, kBlack);
    textLine(m, 4, 11, 18, kPurple);
    return m;
}

Img treeScrollBar() {
    Img m(22, 22);
    fill(m, 7, 0, 14, 21, kLight);
    frame(m, 7, 0, 14, 21, kShadow);
    raised(m, 7, 0, 14, 6);
    art(m, 9, 2, {"..k..", ".kkk.", "kkkkk"});
    raised(m, 7, 15, 14, 21);
    art(m, 9, 17, {"kkkkk", ".kkk.", "..k.."});
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
        art(l, 6, 3, {
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
    });
    return m;
}

Img treeStatic() {
    Img m(22, 22);
    art(m, 3, 2, {
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

Img treeStatusBar() {
    Img m(22, 22);
    // The lower part of a window with its status bar.
    fill(m, 0, 0, 21, 12, kWhite);
    frame(m, 0, -1, 21, 21, kBlack);
    fill(m, 1, 13, 20, 20, kFace);
    hline(m, 1, 20, 12, kShadow);
    // Sunken panels.
    frame(m, 2, 14, 10, 19, kShadow);
    hline(m, 2, 10, 19, kWhite); vline(m, 10, 14, 19, kWhite);
    frame(m, 12, 14, 15, 19, kShadow);
    hline(m, 12, 15, 19, kWhite); vline(m, 15, 14, 19, kWhite);
    textLine(m, 4, 8, 16, kBlack);
    // Size grip.
    for (int i = 0; i < 3; ++i) line(m, 17 + i, 20 - 0, 20, 17 + i, kShadow);
    line(m, 18, 20, 20, 18, kWhite);
    textLine(m, 3, 14, 4, kShadow);
    textLine(m, 3, 11, 7, kShadow);
    return m;
}

Img treeTabControl() {
    Img m(22, 22);
    // A row of three tabs above a thin page edge.
    auto tab = [&](int x0, int x1, int top, bool front) {
        fill(m, x0, top, x1, 14, front ? kWhite : kFace);
        hline(m, x0 + 1, x1 - 1, top, kBlack);
        vline(m, x0, top + 1, 14, kBlack);
        vline(m, x1, top + 1, 14, kBlack);
        textLine(m, x0 + 2, x1 - 2, top + 3, front ? kBlack : kShadow);
    };
    tab(7, 14, 6, false);
    tab(14, 21, 6, false);
    hline(m, 0, 21, 14, kBlack);
    tab(0, 8, 4, true);
    fill(m, 1, 14, 7, 14, kWhite);
    fill(m, 0, 15, 21, 18, kWhite);
    vline(m, 0, 14, 18, kBlack);
    vline(m, 21, 14, 18, kBlack);
    return m;
}

Img treeTrackBar() {
    Img m(22, 22);
    // The track.
    hline(m, 1, 20, 7, kShadow);
    hline(m, 1, 20, 8, kDark);
    hline(m, 1, 20, 9, kWhite);
    // The pointer.
    art(m, 7, 3, {
        "wwwwwk",
        "wgggdk",
        "wgggdk",
        "wgggdk",
        "wgggdk",
        "wgggdk",
        ".wgdk.",
        "..wk..",
    });
    // Tick marks.
    for (int x = 1; x <= 20; x += 3) vline(m, x, 14, x == 1 || x == 19 ? 17 : 15, kBlack);
    vline(m, 20, 14, 17, kBlack);
    return m;
}

Img treeToolBar() {
    Img m(22, 22);
    raised(m, 0, 4, 21, 17);
    // A page.
    art(m, 2, 6, {
        "kkkkk..",
        "kwwwkk.",
        "kwwwkwk",
        "kwwwwwk",
        "kwwwwwk",
        "kwwwwwk",
        "kwwwwwk",
        "kkkkkkk",
    });
    vline(m, 10, 6, 15, kShadow);
    vline(m, 11, 6, 15, kWhite);
    // A folder.
    art(m, 12, 7, {
        ".kkk.....",
        "kyyyk....",
        "kyyyykkkk",
        "kyyyyyyyk",
        "kyyyyyyyk",
        "kyyyyyyyk",
        "kkkkkkkkk",
    });
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
    auto dotted = [&](int x0, int y0, int x1, int y1) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                if ((x + y) % 2 == 0) m.set(x, y, kShadow);
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
    fill(m, 7, 5, 20, 21, kFace);
    frame(m, 7, 5, 20, 21, kBlack);
    hline(m, 8, 19, 6, kWhite);
    vline(m, 8, 6, 20, kWhite);
    textLine(m, 10, 17, 8, kBlack);
    fill(m, 9, 10, 19, 12, kNavy);
    textLine(m, 10, 15, 11, kWhite);
    textLine(m, 10, 16, 14, kBlack);
    hline(m, 9, 18, 16, kShadow);
    hline(m, 9, 18, 17, kWhite);
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
    fill(m, 0, 6, 21, 15, kPale);
    frame(m, 0, 6, 21, 15, kBlack);
    fill(m, 1, 7, 20, 14, kYellow);
    text(m, 11 - (textWidth("Hint") + 1) / 2, 8, "Hint", kBlack);
    hline(m, 2, 21, 16, kShadow);
    vline(m, 22, 7, 16, kShadow);
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
    fill(m, 2, 2, 13, 13, kDarkRed);
    fill(m, 3, 3, 12, 12, kRed);
    hline(m, 3, 11, 3, kPink);
    vline(m, 3, 3, 11, kPink);
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
    art(m, 5, 1, {
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
    Img s(w, h);
    int x = 0;
    for (const Img& i : images) {
        for (int yy = 0; yy < h; ++yy)
            for (int xx = 0; xx < i.w; ++xx) s.set(x + xx, yy, i.get(xx, yy));
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
            catchKeyboard(), catchCursor(), catchOther(), catchClear(),
        };
        if (tools.size() != 18 || tree.size() != 37 || catches.size() != 9)
            throw std::runtime_error("wrong number of images");
        writeBmp(dir + "/tool_images.bmp", strip(tools));
        writeBmp(dir + "/tree_images.bmp", strip(tree));
        writeBmp(dir + "/catch_images.bmp", strip(catches));
        writeIco(dir + "/vantrel.ico", {icon32(), icon16()});
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vantrel_artwork: %s\n", e.what());
        return 1;
    }
    return 0;
}
