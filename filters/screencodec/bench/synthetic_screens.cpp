#include "synthetic_screens.h"

#include <algorithm>
#include <cstring>

#include "moving_picture.h"

namespace zelvio::screencodec::bench {
namespace {

uint32_t Mix(uint32_t a, uint32_t b) {
  uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u + (a << 6) + (a >> 2));
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  return h ^ (h >> 15);
}

uint32_t Rgb(int r, int g, int b) {
  return uint32_t(std::clamp(b, 0, 255)) | uint32_t(std::clamp(g, 0, 255)) << 8 |
         uint32_t(std::clamp(r, 0, 255)) << 16;
}

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
};

struct Canvas {
  uint8_t* pixels;
  int width, height;
  Rect clip{0, 0, width, height};

  void Put(int x, int y, uint32_t c) {
    if (x < clip.x || y < clip.y || x >= clip.x + clip.w || y >= clip.y + clip.h) return;
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    std::memcpy(pixels + (size_t(y) * width + x) * 4, &c, 4);
  }
  void Fill(Rect r, uint32_t c) {
    int x0 = std::max({r.x, clip.x, 0}), y0 = std::max({r.y, clip.y, 0});
    int x1 = std::min({r.x + r.w, clip.x + clip.w, width}),
        y1 = std::min({r.y + r.h, clip.y + clip.h, height});
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) std::memcpy(pixels + (size_t(y) * width + x) * 4, &c, 4);
  }
};

// A wallpaper: a slow gradient under a tiled pattern, like most desktops.
void Desktop(Canvas& c) {
  for (int y = 0; y < c.height; ++y) {
    for (int x = 0; x < c.width; ++x) {
      int tile = ((x / 40) + (y / 40)) & 1;
      bool line = x % 40 == 0 || y % 40 == 0;
      int r = 30 + x * 60 / std::max(c.width, 1) + tile * 10;
      int g = 70 + y * 80 / std::max(c.height, 1) + tile * 10;
      c.Put(x, y, line ? Rgb(20, 40, 90) : Rgb(r, g, 140));
    }
  }
  c.Fill({0, c.height - 40, c.width, 40}, Rgb(32, 32, 40));  // task bar
  for (int i = 0; i < 8; ++i)
    c.Fill({8 + i * 48, c.height - 34, 32, 28}, Rgb(60 + i * 20, 120, 200 - i * 10));
}

// A glyph of an 8x16 cell: the same character always looks the same, as on a real screen.
void Glyph(Canvas& c, int x, int y, int code, uint32_t ink) {
  for (int r = 3; r < 13; ++r) {
    uint32_t bits = Mix(uint32_t(code), uint32_t(r)) & 0x7E;
    if (r == 3 && code % 3) bits = 0;  // only some letters reach up
    for (int b = 0; b < 8; ++b)
      if (bits & (1u << b)) c.Put(x + b, y + r, ink);
  }
}

// Line `line` of an endless document: words of pseudo-random letters.
void TextLine(Canvas& c, int x, int y, int width, int line) {
  int column = 0, columns = width / 8;
  uint32_t seed = Mix(uint32_t(line), 77);
  int length = int(seed % uint32_t(std::max(columns - 4, 1))) + 4;
  for (int i = 0; column < std::min(length, columns); ++i) {
    int word = 2 + int(Mix(seed, uint32_t(i)) % 8);
    for (int k = 0; k < word && column < columns; ++k, ++column)
      Glyph(c, x + column * 8, y, 'a' + int(Mix(seed, uint32_t(i * 16 + k)) % 26), Rgb(20, 20, 20));
    ++column;
  }
}

// A window frame: title bar, border and a white client area, returned.
Rect Window(Canvas& c, Rect r) {
  c.Fill(r, Rgb(180, 180, 190));
  c.Fill({r.x + 1, r.y + 1, r.w - 2, 24}, Rgb(40, 90, 180));
  for (int i = 0; i < 12; ++i) Glyph(c, r.x + 8 + i * 8, r.y + 5, 'A' + i, Rgb(255, 255, 255));
  Rect client{r.x + 4, r.y + 28, r.w - 8, r.h - 32};
  c.Fill(client, Rgb(255, 255, 255));
  return client;
}

// Document text scrolled down by `offset` pixels, clipped to the client area.
void Document(Canvas& c, Rect client, int offset) {
  Rect saved = c.clip;
  c.clip = client;
  int first = offset / kLineHeight;
  for (int y = client.y - offset % kLineHeight, line = first; y < client.y + client.h;
       y += kLineHeight, ++line)
    TextLine(c, client.x + 6, y, client.w - 12, line);
  c.clip = saved;
}

Rect MainWindow(const Canvas& c) { return {c.width / 10, c.height / 10, c.width * 3 / 4, c.height * 3 / 4}; }

void Typing(Canvas& c, int index) {
  Rect client = Window(c, MainWindow(c));
  Rect saved = c.clip;
  c.clip = client;
  int lines = client.h / kLineHeight / 2;
  for (int line = 0; line < lines; ++line)
    TextLine(c, client.x + 6, client.y + line * kLineHeight, client.w - 12, line);
  // One character every second frame, then the caret, blinking every 15 frames.
  int typed = index / 2, columns = std::max((client.w - 12) / 8, 1);
  int y = client.y + lines * kLineHeight;
  for (int k = 0; k < typed; ++k)
    Glyph(c, client.x + 6 + (k % columns) * 8, y + (k / columns) * kLineHeight,
          'a' + int(Mix(9, uint32_t(k)) % 26), Rgb(20, 20, 20));
  if ((index / 15) % 2 == 0)
    c.Fill({client.x + 6 + (typed % columns) * 8, y + (typed / columns) * kLineHeight + 2, 1, 13},
           Rgb(0, 0, 0));
  c.clip = saved;
}

// A sheet of cells scrolled right by `offset` pixels.
void Sheet(Canvas& c, Rect client, int offset) {
  Rect saved = c.clip;
  c.clip = client;
  constexpr int kCellW = 96, kCellH = 20;
  int firstColumn = offset / kCellW;
  for (int row = 0; row * kCellH < client.h; ++row) {
    int y = client.y + row * kCellH;
    for (int col = firstColumn, x = client.x - offset % kCellW; x < client.x + client.w; ++col, x += kCellW) {
      c.Fill({x, y + kCellH - 1, kCellW, 1}, Rgb(200, 200, 200));
      c.Fill({x + kCellW - 1, y, 1, kCellH}, Rgb(200, 200, 200));
      int digits = 1 + int(Mix(uint32_t(row), uint32_t(col)) % 9);
      for (int k = 0; k < digits; ++k)
        Glyph(c, x + kCellW - 6 - (k + 1) * 8, y + 2,
              '0' + int(Mix(uint32_t(row * 1000 + col), uint32_t(k)) % 10), Rgb(20, 20, 60));
    }
  }
  c.clip = saved;
}

// Photo-like pictures that change every frame: smooth colour fields with grain.
void Pictures(Canvas& c, Rect r, int index) {
  for (int y = r.y; y < r.y + r.h; ++y) {
    for (int x = r.x; x < r.x + r.w; ++x) {
      int u = x - r.x, v = y - r.y;
      uint32_t grain = Mix(uint32_t(u * 7919 + v), uint32_t(index));
      int n = int(grain & 15) - 8;
      int rr = ((u + index * 5) * 3 / 4 + v / 2) % 256;
      int gg = (v * 2 / 3 + index * 3 + u / 5) % 256;
      int bb = ((u ^ v) / 4 + index) % 256;
      c.Put(x, y, Rgb(rr + n, gg + n, bb - n));
    }
  }
}

}  // namespace

const std::vector<std::string>& ClipNames() {
  static const std::vector<std::string> names = {"still",           "typing", "scroll-lines", "scroll-pages",
                                                 "scroll-sideways", "drag",   "pictures",     "movie"};
  return names;
}

bool ClipFromName(const std::string& name, Clip& clip) {
  const auto& names = ClipNames();
  auto it = std::find(names.begin(), names.end(), name);
  if (it == names.end()) return false;
  clip = Clip(it - names.begin());
  return true;
}

void PaintFrame(Clip clip, int index, int width, int height, std::vector<uint8_t>& frame) {
  frame.assign(size_t(width) * height * 4, 0);
  if (clip == Clip::Movie) {
    std::vector<uint32_t> pixels(size_t(width) * height);
    PaintMovingPicture(index / 30.0, uint32_t(index), width, height, pixels.data(), width);
    std::memcpy(frame.data(), pixels.data(), frame.size());
    return;
  }
  Canvas c{frame.data(), width, height};
  Desktop(c);
  switch (clip) {
    case Clip::Still:
      Document(c, Window(c, MainWindow(c)), 0);
      break;
    case Clip::Typing:
      Typing(c, index);
      break;
    case Clip::ScrollLines:
      Document(c, Window(c, MainWindow(c)), index * kScrollLinesStep);
      break;
    case Clip::ScrollPages: {
      Rect client = Window(c, MainWindow(c));
      int page = std::max(client.h - 2 * kLineHeight, kLineHeight) / kLineHeight * kLineHeight;
      Document(c, client, index / kPageEvery * page);
      break;
    }
    case Clip::ScrollSideways:
      Sheet(c, Window(c, MainWindow(c)), index * kSidewaysStep);
      break;
    case Clip::Drag: {
      Rect r{width / 8 + index * kDragDx, height / 8 + index * kDragDy, width / 3, height / 3};
      Document(c, Window(c, r), 0);
      break;
    }
    case Clip::Pictures:
      Document(c, Window(c, MainWindow(c)), 0);
      Pictures(c, {width / 4, height / 5, width * 5 / 12, height * 5 / 9}, index);
      break;
    case Clip::Movie:
      break;  // painted above, without the desktop
  }
}

}  // namespace zelvio::screencodec::bench
