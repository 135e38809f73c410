// Paints the editor's interface bitmaps (DATA, ICON, MES), the program icon,
// the sample chip sheet and the sample wallpaper, and a mock-up of the editing
// screen composed from them. Every interface colour comes from one fixed
// palette; pixels are painted without antialiasing and mapped to that palette
// exactly, so the same run always writes the same bytes.
//
//   QT_QPA_PLATFORM=offscreen build/artgen <repository root>

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "bmpfile.h"
#include "pixelfont.h"

using artgen::Rgb;

namespace {

// ---------------------------------------------------------------------------
// The interface palette. Entry 0 is the black colour key of DATA and ICON,
// entry 1 the green key of MES. No visible colour maps to either key's 16-bit
// value: the darkest ink is (16, 16, 24), which stays above the truncation.
enum Pal : uint8_t {
  KEY = 0, KEY_GREEN, INK, WHITE, PAPER, PAPER_SH,
  BTN_HI, BTN_LT, BTN, BTN_DK, BTN_DKR,
  YELLOW, YELLOW_DK, CYAN, CYAN_DK, ORANGE, ORANGE_DK,
  RED, RED_DK, GREEN, GREEN_DK, BLUE, BLUE_DK,
  STEEL_HI, STEEL, STEEL_DK, STEEL_DKR,
  TAB_HI, TAB, TAB_DK, TEAL_HI, TEAL, TEAL_DK,
  BROWN, BROWN_DK, GREY, GREY_DK, SKIN, SKIN_DK, PINK, SKY, PAL_COUNT
};

const Rgb kPalette[PAL_COUNT] = {
    {0, 0, 0},       {0, 127, 0},     {16, 16, 24},    {255, 255, 255}, {250, 246, 228},
    {214, 206, 178}, {184, 198, 222}, {140, 156, 190}, {104, 120, 156}, {68, 80, 110},
    {42, 50, 74},    {255, 214, 64},  {184, 136, 24},  {128, 226, 255}, {40, 132, 184},
    {255, 152, 56},  {178, 86, 24},   {224, 72, 60},   {142, 36, 36},   {100, 196, 92},
    {44, 120, 52},   {84, 144, 232},  {40, 82, 164},   {206, 212, 226}, {146, 156, 178},
    {90, 98, 122},   {54, 60, 82},    {104, 138, 210}, {52, 78, 140},   {30, 44, 84},
    {96, 178, 166},  {38, 110, 108},  {20, 62, 66},    {156, 104, 58},  {98, 62, 34},
    {176, 176, 180}, {112, 112, 118}, {252, 222, 184}, {206, 156, 116}, {236, 126, 170},
    {150, 200, 244},
};

QColor qc(Pal p) { return QColor(kPalette[p].r, kPalette[p].g, kPalette[p].b); }

QImage canvas(int w, int h, Pal fill) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(qc(fill));
  return img;
}

// A painter that draws hard pixels only.
struct Pen {
  QPainter p;
  explicit Pen(QImage& img) : p(&img) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
  }
  void box(int x, int y, int w, int h, Pal c) { p.fillRect(x, y, w, h, qc(c)); }
  void px(int x, int y, Pal c) { p.fillRect(x, y, 1, 1, qc(c)); }
  // An outlined plate whose four corner pixels stay transparent.
  void rounded(int x, int y, int w, int h, Pal edge, Pal fill) {
    box(x + 1, y, w - 2, h, edge);
    box(x, y + 1, w, h - 2, edge);
    box(x + 1, y + 1, w - 2, h - 2, fill);
  }
  // An outlined rectangle: `edge` one pixel wide, `fill` inside.
  void panel(int x, int y, int w, int h, Pal edge, Pal fill) {
    box(x, y, w, h, edge);
    box(x + 1, y + 1, w - 2, h - 2, fill);
  }
  void line(int x0, int y0, int x1, int y1, Pal c, int width = 1) {
    p.setPen(QPen(qc(c), width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawLine(x0, y0, x1, y1);
  }
  void poly(const QPolygon& pts, Pal fill, Pal edge) {
    p.setPen(QPen(qc(edge), 1));
    p.setBrush(qc(fill));
    p.drawPolygon(pts);
    p.setBrush(Qt::NoBrush);
  }
  void ellipse(int x, int y, int w, int h, Pal fill, Pal edge) {
    p.setPen(QPen(qc(edge), 1));
    p.setBrush(qc(fill));
    p.drawEllipse(x, y, w, h);
    p.setBrush(Qt::NoBrush);
  }
  // ASCII pixel art: each character is looked up in `keys`/`cols`; others stay.
  void art(int x, int y, const std::vector<const char*>& rows, const char* keys, const Pal* cols) {
    for (size_t r = 0; r < rows.size(); ++r)
      for (int c = 0; rows[r][c]; ++c)
        for (int k = 0; keys[k]; ++k)
          if (rows[r][c] == keys[k]) px(x + c, y + static_cast<int>(r), cols[k]);
  }
  void glyph(int x, int y, const artgen::Glyph& g, Pal c, int scale) {
    for (int r = 0; r < artgen::glyphHeight(g); ++r)
      for (int col = 0; g.rows[r][col]; ++col)
        if (g.rows[r][col] == '#') box(x + col * scale, y + r * scale, scale, scale, c);
  }
  // A label in the pixel font; with a shadow colour, a one-pixel drop shadow
  // below and to the right keeps it legible on any background.
  void label(int x, int y, const char* text, Pal c, int scale = 1, int shadow = -1) {
    for (int pass = shadow >= 0 ? 0 : 1; pass < 2; ++pass) {
      int cx = x;
      for (const char* t = text; *t; ++t) {
        const artgen::Glyph* g = artgen::findGlyph(artgen::kLabelFont, artgen::kLabelFontCount, *t);
        if (g) {
          if (pass == 0)
            glyph(cx + scale, y + scale, *g, static_cast<Pal>(shadow), scale);
          else
            glyph(cx, y, *g, c, scale);
          cx += (artgen::glyphWidth(*g) + 1) * scale;
        } else {
          cx += (artgen::kLabelSpaceWidth + 1) * scale;
        }
      }
    }
  }
  void labelCentred(int cx, int y, const char* text, Pal c, int scale = 1, int shadow = -1) {
    label(cx - artgen::labelWidth(text) * scale / 2, y, text, c, scale, shadow);
  }
};

QFont jpFont(const char* family, int pixelSize) {
  QFont f(family);
  f.setPixelSize(pixelSize);
  f.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
  f.setHintingPreference(QFont::PreferFullHinting);
  return f;
}

// ---------------------------------------------------------------------------
// Mapping painted images to palette indices.

int nearestIndex(QRgb c, int from, int to) {
  int best = from;
  long bestD = -1;
  for (int i = from; i < to; ++i) {
    const long dr = qRed(c) - kPalette[i].r, dg = qGreen(c) - kPalette[i].g, db = qBlue(c) - kPalette[i].b;
    const long d = dr * dr + dg * dg + db * db;
    if (bestD < 0 || d < bestD) {
      bestD = d;
      best = i;
    }
  }
  return best;
}

// Every pixel is painted from the palette, so an inexact pixel means a
// drawing call smoothed something; it is counted and reported.
std::vector<uint8_t> toIndices(const QImage& img, const char* what) {
  std::vector<uint8_t> out(static_cast<size_t>(img.width()) * img.height());
  int inexact = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const QRgb c = img.pixel(x, y);
      int idx = -1;
      for (int i = 0; i < PAL_COUNT && idx < 0; ++i)
        if (qRed(c) == kPalette[i].r && qGreen(c) == kPalette[i].g && qBlue(c) == kPalette[i].b) idx = i;
      if (idx < 0) {
        ++inexact;
        idx = nearestIndex(c, INK, PAL_COUNT);  // never snap a stray pixel onto a key
      }
      out[static_cast<size_t>(y) * img.width() + x] = static_cast<uint8_t>(idx);
    }
  if (inexact) std::fprintf(stderr, "artgen: %s: %d pixels snapped to the palette\n", what, inexact);
  return out;
}

std::vector<Rgb> toRgb(const QImage& img) {
  std::vector<Rgb> out;
  out.reserve(static_cast<size_t>(img.width()) * img.height());
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const QRgb c = img.pixel(x, y);
      Rgb v{static_cast<uint8_t>(qRed(c)), static_cast<uint8_t>(qGreen(c)), static_cast<uint8_t>(qBlue(c))};
      // Lift colours that would fall under the black key on the 16-bit screen.
      if (artgen::rgb565(v) == 0) v = {16, 16, 24};
      out.push_back(v);
    }
  return out;
}

bool writeIndexed(const std::string& path, const QImage& img) {
  const std::vector<Rgb> pal(kPalette, kPalette + PAL_COUNT);
  return artgen::writeFileReplacing(path, artgen::encodeBmp8(img.width(), img.height(), toIndices(img, path.c_str()), pal));
}

bool writeTrue(const std::string& path, const QImage& img) {
  return artgen::writeFileReplacing(path, artgen::encodeBmp24(img.width(), img.height(), toRgb(img)));
}

// ---------------------------------------------------------------------------
// DATA: pointers, toolbar frames, the mode marker, window decoration, digits.

const char kK[] = "ows+";  // outline, white, shade, light shade
const Pal kHand[] = {INK, WHITE, STEEL, STEEL_HI};
const Pal kHandPressed[] = {INK, SKIN, SKIN_DK, SKIN};

const std::vector<const char*> kPointingHand = {
    "...oo.............", "..owwo............", "..owso............", "..owso............",
    "..owso............", "..owsoooo.........", "..owsowwsooo......", "..owsowsowsoo.....",
    "oo.owswsowsowo....", "owoowwwwwwwwso....", "owsowwwwwwwwwso...", ".owswwwwwwwwwso...",
    ".owwwwwwwwwwwso...", "..owwwwwwwwwwso...", "..owwwwwwwwwso....", "...owwwwwwwwso....",
    "...owwwwwwwso.....", "....owwwwwwso.....", "....owwwwwwso.....", "....ooooooooo.....",
};

const std::vector<const char*> kGrabHand = {
    "....oo.oo.oo....", "...owwowwowwoo..", "..oowsowsowsowo.", ".owowwwwwwwwwso.",
    ".owwwwwwwwwwwso.", ".owwwwwwwwwwwso.", "..owwwwwwwwwwso.", "..owwwwwwwwwso..",
    "...owwwwwwwwso..", "...owwwwwwwso...", "....owwwwwwso...", "....ooooooooo...",
};

void paintPointers(Pen& g) {
  // Pointing hand: the fingertip's first inner pixel sits at (4, 4).
  g.art(0 + 1, 3, kPointingHand, kK, kHand);
  // Pressed: the hand dips one pixel, warms in colour and throws click rays.
  g.art(32 + 1, 4, kPointingHand, kK, kHandPressed);
  g.px(32 + 1, 1, YELLOW);
  g.px(32 + 0, 0, YELLOW);
  g.px(32 + 7, 1, YELLOW);
  g.px(32 + 8, 0, YELLOW);
  g.px(32 + 0, 5, YELLOW);

  // Diagonal resize arrow centred on (16, 16): white shaft and heads, ink rim.
  const int ox = 64;
  QPolygon arrow;
  arrow << QPoint(ox + 6, 6) << QPoint(ox + 14, 6) << QPoint(ox + 11, 9) << QPoint(ox + 23, 21)
        << QPoint(ox + 26, 18) << QPoint(ox + 26, 26) << QPoint(ox + 18, 26) << QPoint(ox + 21, 23)
        << QPoint(ox + 9, 11) << QPoint(ox + 6, 14);
  g.poly(arrow, WHITE, INK);
  g.px(ox + 16, 16, STEEL);

  // Grabbing hand centred on (16, 16).
  g.art(96 + 8, 10, kGrabHand, kK, kHand);
}

void paintToolbarFrames(Pen& g) {
  // Hover: a bright double rim that leaves the icon untouched inside.
  g.p.setPen(QPen(qc(CYAN), 1));
  g.p.drawRect(0, 32, 47, 47);
  g.p.drawRect(1, 33, 45, 45);
  g.p.setPen(QPen(qc(CYAN_DK), 1));
  g.p.drawRect(2, 34, 43, 43);
  for (int c : {0, 47})
    for (int r : {0, 47}) g.px(c, 32 + r, WHITE);

  // Pressed: orange rim plus a dark inner shadow along the top and left.
  g.p.setPen(QPen(qc(ORANGE), 1));
  g.p.drawRect(48, 32, 47, 47);
  g.p.drawRect(49, 33, 45, 45);
  g.p.setPen(QPen(qc(ORANGE_DK), 1));
  g.p.drawRect(50, 34, 43, 43);
  g.box(51, 35, 42, 2, BTN_DKR);
  g.box(51, 37, 2, 40, BTN_DKR);

  // Selected-mode marker: a yellow rim and a dashed cross that keeps clear of
  // the centre of the pictogram and of the label row.
  const int mx = 96, my = 32;
  g.p.setPen(QPen(qc(YELLOW), 1));
  g.p.drawRect(mx, my, 47, 47);
  g.p.drawRect(mx + 1, my + 1, 45, 45);
  g.p.setPen(QPen(qc(YELLOW_DK), 1));
  g.p.drawRect(mx + 2, my + 2, 43, 43);
  for (int i = 4; i < 44; i += 5) {
    const bool nearCentre = i > 14 && i < 33;
    if (!nearCentre) {
      g.box(mx + i, my + 17, 3, 1, YELLOW);  // horizontal arm
      g.box(mx + i, my + 18, 3, 1, INK);
    }
    if (!nearCentre && i < 30) {
      g.box(mx + 23, my + i, 1, 3, YELLOW);  // vertical arm, above the label
      g.box(mx + 24, my + i, 1, 3, INK);
    }
  }
}

// The tool strip's 18 x 18 frames at y 125, in the toolbar's colours: hover,
// pressed and selected side by side at x 0, 20 and 40.
void paintStripFrames(Pen& g) {
  const int y = 125;
  g.p.setPen(QPen(qc(CYAN), 1));
  g.p.drawRect(0, y, 17, 17);
  g.p.setPen(QPen(qc(CYAN_DK), 1));
  g.p.drawRect(1, y + 1, 15, 15);
  for (int c : {0, 17})
    for (int r : {0, 17}) g.px(c, y + r, WHITE);

  g.p.setPen(QPen(qc(ORANGE), 1));
  g.p.drawRect(20, y, 17, 17);
  g.p.setPen(QPen(qc(ORANGE_DK), 1));
  g.p.drawRect(21, y + 1, 15, 15);
  g.box(22, y + 2, 14, 1, BTN_DKR);
  g.box(22, y + 3, 1, 13, BTN_DKR);

  g.p.setPen(QPen(qc(YELLOW), 1));
  g.p.drawRect(40, y, 17, 17);
  g.p.setPen(QPen(qc(YELLOW_DK), 1));
  g.p.drawRect(41, y + 1, 15, 15);
}

// Window frame bands from the outside in; the content lies after band 5.
const Pal kBand[6] = {INK, STEEL_HI, STEEL, STEEL, STEEL_DK, INK};

void paintWindowFrame(Pen& g) {
  for (int i = 0; i < 64; ++i) {
    const bool rivet = i % 16 == 8;
    for (int b = 0; b < 6; ++b) {
      Pal c = kBand[b];
      if (rivet && b == 2) c = WHITE;
      if (rivet && b == 3) c = STEEL_DKR;
      g.px(i, 80 + b, c);        // top edge: outside at row 0
      g.px(i, 90 + 5 - b, c);    // bottom edge: outside at row 5
      g.px(64 + b, 80 + i, c);   // left edge: outside at column 0
      g.px(74 + 5 - b, 80 + i, c);  // right edge: outside at column 5
    }
  }
  // Corners: concentric bands, so each corner continues both edges it meets;
  // the outermost pixel stays transparent to round the corner off.
  struct Corner { int x, y; bool flipX, flipY; };
  for (const Corner& k : {Corner{0, 96, false, false}, Corner{10, 96, true, false},
                          Corner{0, 106, false, true}, Corner{10, 106, true, true}})
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 6; ++x) {
        const int dx = k.flipX ? 5 - x : x, dy = k.flipY ? 5 - y : y;
        if (dx == 0 && dy == 0) continue;
        g.px(k.x + x, k.y + y, kBand[std::min(dx, dy)]);
      }
}

void paintThumbs(Pen& g) {
  // Vertical-scrollbar thumb, 11 x 7, a horizontal bar with grip lines.
  g.panel(0, 112, 11, 7, INK, YELLOW);
  g.box(1, 113, 9, 1, WHITE);
  g.box(1, 117, 9, 1, YELLOW_DK);
  g.box(3, 115, 5, 1, YELLOW_DK);
  // Horizontal-scrollbar thumb, 7 x 11.
  g.panel(16, 112, 7, 11, INK, YELLOW);
  g.box(17, 113, 1, 9, WHITE);
  g.box(21, 113, 1, 9, YELLOW_DK);
  g.box(19, 115, 1, 5, YELLOW_DK);
}

void paintTitle(Pen& g, int x, int y, const char* text, Pal hi, Pal mid, Pal dark) {
  // A tab: ink rim, a light top line, a darker lower band where it meets the
  // frame, and the name in the pixel font at twice its size.
  g.panel(x, y, 80, 23, INK, mid);
  g.box(x + 1, y + 1, 78, 1, hi);
  g.box(x + 1, y + 2, 1, 20, hi);
  g.box(x + 1, y + 19, 78, 3, dark);
  g.box(x + 78, y + 2, 1, 20, dark);
  g.labelCentred(x + 40, y + 3, text, WHITE, 2, INK);
}

void paintDigits(Pen& g) {
  for (int i = 0; i < 12; ++i) {
    const artgen::Glyph& d = artgen::kDigitFont[i];
    const int x = i * 8 + 1, y = 144 + 1;
    // Outline first: every neighbour of a set pixel, then the glyph on top.
    for (int r = 0; r < 10; ++r)
      for (int c = 0; c < 6; ++c)
        if (d.rows[r][c] == '#')
          for (int oy = -1; oy <= 1; ++oy)
            for (int ox = -1; ox <= 1; ++ox) g.px(x + c + ox, y + r + oy, INK);
    for (int r = 0; r < 10; ++r)
      for (int c = 0; c < 6; ++c)
        if (d.rows[r][c] == '#') g.px(x + c, y + r, r < 5 ? WHITE : YELLOW);
  }
}

QImage paintData() {
  QImage img = canvas(160, 160, KEY);
  Pen g(img);
  paintPointers(g);
  paintToolbarFrames(g);
  paintStripFrames(g);
  paintWindowFrame(g);
  paintThumbs(g);
  paintTitle(g, 80, 80, "OutData", TAB_HI, TAB, TAB_DK);
  paintTitle(g, 80, 112, "BmpData", TEAL_HI, TEAL, TEAL_DK);
  paintDigits(g);
  return img;
}

// ---------------------------------------------------------------------------
// ICON: thirteen 48 x 48 buttons, a pictogram above a label.

const char* const kIconLabels[13] = {"BmpLoad", "LOAD", "SAVE",    "SIZE",   "UNDO", "CLEAR", "POINT",
                                     "FREE",    "",     "PREVIEW", "OPTION", "EXIT", "CLOSE"};

void buttonBase(Pen& g, int y) {
  // Rounded plate: the four corner pixels stay transparent.
  g.rounded(0, y, 48, 48, INK, BTN);
  g.box(2, y + 1, 44, 1, BTN_HI);
  g.box(1, y + 2, 1, 44, BTN_HI);
  g.box(2, y + 2, 43, 1, BTN_LT);
  g.box(2, y + 3, 1, 42, BTN_LT);
  g.box(2, y + 46, 45, 1, BTN_DKR);
  g.box(46, y + 2, 1, 44, BTN_DKR);
  g.box(3, y + 45, 43, 1, BTN_DK);
  g.box(45, y + 3, 1, 42, BTN_DK);
  // Label strip.
  g.box(3, y + 33, 42, 11, BTN_DK);
}

void arrowDown(Pen& g, int cx, int top, Pal fill) {
  QPolygon a;
  a << QPoint(cx - 2, top) << QPoint(cx + 2, top) << QPoint(cx + 2, top + 5) << QPoint(cx + 5, top + 5)
    << QPoint(cx, top + 10) << QPoint(cx - 5, top + 5) << QPoint(cx - 2, top + 5);
  g.poly(a, fill, INK);
}

void arrowUp(Pen& g, int cx, int top, Pal fill) {
  QPolygon a;
  a << QPoint(cx, top) << QPoint(cx + 5, top + 5) << QPoint(cx + 2, top + 5) << QPoint(cx + 2, top + 10)
    << QPoint(cx - 2, top + 10) << QPoint(cx - 2, top + 5) << QPoint(cx - 5, top + 5);
  g.poly(a, fill, INK);
}

void miniGrid(Pen& g, int x, int y, int cells, int size) {
  g.box(x, y, cells * size + 1, cells * size + 1, INK);
  for (int r = 0; r < cells; ++r)
    for (int c = 0; c < cells; ++c) g.box(x + 1 + c * size, y + 1 + r * size, size - 1, size - 1, BTN_HI);
}

void paintPictogram(Pen& g, int i, int y) {
  switch (i) {
    case 0:  // BmpLoad: a small picture with an arrow dropping into it
      g.panel(8, y + 12, 24, 19, INK, SKY);
      g.ellipse(11, y + 14, 4, 4, YELLOW, YELLOW_DK);
      g.poly(QPolygon({QPoint(9, y + 29), QPoint(17, y + 19), QPoint(22, y + 24), QPoint(26, y + 20),
                       QPoint(30, y + 29)}),
             GREEN, GREEN_DK);
      arrowDown(g, 36, y + 5, ORANGE);
      break;
    case 1:  // LOAD: a folder with an arrow rising out of it
      g.poly(QPolygon({QPoint(9, y + 14), QPoint(17, y + 14), QPoint(19, y + 16), QPoint(35, y + 16),
                       QPoint(35, y + 30), QPoint(9, y + 30)}),
             YELLOW, INK);
      g.box(10, y + 20, 25, 1, YELLOW_DK);
      arrowUp(g, 27, y + 4, GREEN);
      break;
    case 2:  // SAVE: a disk
      g.panel(12, y + 6, 24, 25, INK, BLUE);
      g.panel(16, y + 7, 15, 9, INK, WHITE);
      g.box(27, y + 8, 3, 6, STEEL);
      g.panel(15, y + 20, 18, 10, INK, STEEL_HI);
      g.box(17, y + 23, 14, 1, STEEL);
      g.box(17, y + 26, 14, 1, STEEL);
      break;
    case 3:  // SIZE: a grid with a stretch arrow across it
      miniGrid(g, 9, y + 6, 3, 8);
      g.line(17, y + 14, 38, y + 30, RED, 2);
      g.poly(QPolygon({QPoint(39, y + 31), QPoint(31, y + 31), QPoint(39, y + 23)}), RED, INK);
      g.poly(QPolygon({QPoint(35, y + 6), QPoint(39, y + 6), QPoint(39, y + 10)}), WHITE, INK);
      break;
    case 4: {  // UNDO: an arrow turning back
      g.p.setPen(QPen(qc(INK), 6, Qt::SolidLine, Qt::FlatCap));
      g.p.drawArc(13, y + 9, 22, 20, 90 * 16, -250 * 16);
      g.p.setPen(QPen(qc(ORANGE), 3, Qt::SolidLine, Qt::FlatCap));
      g.p.drawArc(14, y + 10, 20, 18, 90 * 16, -250 * 16);
      g.poly(QPolygon({QPoint(24, y + 3), QPoint(24, y + 17), QPoint(15, y + 10)}), ORANGE, INK);
      break;
    }
    case 5:  // CLEAR: an eraser with sparkles
      g.poly(QPolygon({QPoint(10, y + 24), QPoint(24, y + 9), QPoint(36, y + 17), QPoint(22, y + 31)}), PINK,
             INK);
      g.poly(QPolygon({QPoint(10, y + 24), QPoint(16, y + 18), QPoint(28, y + 26), QPoint(22, y + 31)}), WHITE,
             INK);
      g.box(33, y + 6, 1, 5, WHITE);
      g.box(31, y + 8, 5, 1, WHITE);
      g.box(38, y + 25, 1, 3, WHITE);
      g.box(37, y + 26, 3, 1, WHITE);
      break;
    case 6:  // POINT: one cell of a grid filled, with a stamp mark
      miniGrid(g, 12, y + 6, 3, 8);
      g.box(21, y + 15, 7, 7, GREEN);
      g.box(21, y + 15, 7, 1, WHITE);
      g.px(24, y + 18, GREEN_DK);
      break;
    case 7:  // FREE: a stroke of filled cells
      miniGrid(g, 12, y + 6, 3, 8);
      g.box(13, y + 23, 7, 7, GREEN);
      g.box(21, y + 15, 7, 7, GREEN);
      g.box(29, y + 7, 7, 7, GREEN);
      g.box(21, y + 23, 7, 7, GREEN);
      break;
    case 9:  // PREVIEW: a magnifier over a small map
      g.panel(8, y + 8, 22, 20, INK, GREEN);
      g.box(9, y + 17, 20, 4, SKY);
      g.box(14, y + 11, 4, 4, GREEN_DK);
      g.ellipse(20, y + 4, 15, 15, SKY, INK);
      g.ellipse(22, y + 6, 11, 11, WHITE, BLUE_DK);
      g.line(33, y + 18, 38, y + 24, BROWN_DK, 3);
      break;
    case 10: {  // OPTION: a gear
      QPolygon gear;
      const double cx = 24, cy = y + 17.5;
      for (int k = 0; k < 32; ++k) {
        const double a = k * 3.14159265358979 / 16;
        const double rad = (k / 2) % 2 ? 8.5 : 12.5;
        gear << QPoint(static_cast<int>(std::lround(cx + rad * std::cos(a))),
                       static_cast<int>(std::lround(cy + rad * std::sin(a))));
      }
      g.poly(gear, STEEL_HI, INK);
      g.ellipse(20, y + 14, 8, 7, BTN, INK);
      break;
    }
    case 11:  // EXIT: a door with an arrow leaving it
      g.panel(11, y + 5, 17, 26, INK, BROWN);
      g.box(13, y + 7, 13, 22, BROWN_DK);
      g.poly(QPolygon({QPoint(13, y + 7), QPoint(21, y + 10), QPoint(21, y + 31), QPoint(13, y + 29)}), BROWN,
             INK);
      g.px(19, y + 19, YELLOW);
      g.poly(QPolygon({QPoint(27, y + 15), QPoint(33, y + 15), QPoint(33, y + 11), QPoint(40, y + 18),
                       QPoint(33, y + 25), QPoint(33, y + 21), QPoint(27, y + 21)}),
             RED, INK);
      break;
    case 12:  // CLOSE: a window folding down to a bar
      g.panel(10, y + 5, 28, 20, INK, WHITE);
      g.box(11, y + 6, 26, 4, BLUE);
      g.box(33, y + 7, 3, 2, WHITE);
      g.panel(14, y + 26, 20, 5, INK, ORANGE);
      arrowDown(g, 24, y + 11, ORANGE);
      break;
  }
}

// The tool strip's icons: 18 x 18 plates in a second column at x 48, icon k
// at y = 20 k (bucket, rectangle, 9-slice, replace, random, aligned, zoom).
void stripBase(Pen& g, int x, int y) {
  g.rounded(x, y, 18, 18, INK, BTN);
  g.box(x + 1, y + 1, 15, 1, BTN_HI);
  g.box(x + 1, y + 2, 1, 14, BTN_HI);
  g.box(x + 2, y + 16, 15, 1, BTN_DKR);
  g.box(x + 16, y + 2, 1, 14, BTN_DKR);
}

const std::vector<const char*> kBucket = {
    "..ooooo.......", ".o.....o......", "o.......o.....", "ooooooooooo...", "oswwwwwwwdo...",
    "osggggggddo.g.", ".oswwwwwdo..gg", ".oswwwwwdo.ggg", ".oswwwwwdo.gGg", "..oswwwdo...G.",
    "..oooooooo....",
};
const char kBucketKeys[] = "oswdgG";
const Pal kBucketCols[] = {INK, STEEL_HI, WHITE, STEEL, GREEN, GREEN_DK};

void paintStripPictogram(Pen& g, int k, int x, int y) {
  switch (k) {
    case 0:  // bucket fill: a bucket pouring paint
      g.art(x + 2, y + 4, kBucket, kBucketKeys, kBucketCols);
      break;
    case 1:  // rectangle fill: a filled box with its drag handle
      g.panel(x + 3, y + 3, 10, 9, INK, GREEN);
      g.box(x + 4, y + 4, 8, 1, WHITE);
      g.panel(x + 10, y + 10, 5, 5, INK, WHITE);
      break;
    case 2: {  // 9-slice: corners, sides and centre in three colours
      g.box(x + 3, y + 3, 13, 13, INK);
      for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 3; ++r) {
          const int edges = (c == 1) + (r == 1);
          g.box(x + 4 + c * 4, y + 4 + r * 4, 3, 3, edges == 0 ? ORANGE : edges == 1 ? YELLOW : GREEN);
        }
      break;
    }
    case 3:  // replace: one chip turning into another
      g.panel(x + 3, y + 3, 6, 6, INK, RED);
      g.panel(x + 9, y + 9, 6, 6, INK, GREEN);
      g.box(x + 11, y + 4, 2, 4, WHITE);
      g.poly(QPolygon({QPoint(x + 9, y + 7), QPoint(x + 14, y + 7), QPoint(x + 12, y + 9)}), WHITE, INK);
      g.box(x + 4, y + 11, 4, 2, WHITE);
      break;
    case 4:  // random: a die showing five
      g.panel(x + 3, y + 3, 12, 12, INK, WHITE);
      for (auto [dx, dy] : {std::pair{2, 2}, {7, 2}, {2, 7}, {7, 7}, {4, 4}}) g.box(x + 4 + dx, y + 4 + dy, 1, 1, INK),
                                                                               g.box(x + 4 + dx, y + 4 + dy, 2, 2, RED_DK);
      break;
    case 5:  // aligned: four equal stamps side by side, edge to edge
      for (int c = 0; c < 2; ++c)
        for (int r = 0; r < 2; ++r) {
          const int bx = x + 3 + c * 6, by = y + 3 + r * 6;
          g.panel(bx, by, 6, 6, INK, GREEN);
          g.box(bx + 1, by + 1, 2, 2, YELLOW);
        }
      break;
    case 6:  // zoom: a magnifying glass over four chips, its handle down right
      g.ellipse(x + 2, y + 2, 10, 10, WHITE, INK);
      g.box(x + 5, y + 5, 5, 5, GREEN);
      g.box(x + 5, y + 7, 5, 1, GREEN_DK);
      g.box(x + 7, y + 5, 1, 5, GREEN_DK);
      for (int d = 0; d < 4; ++d) g.box(x + 11 + d, y + 11 + d, 2, 2, d == 0 ? INK : ORANGE);
      break;
  }
}

// The English set differs in the attribute mode button alone, which wears a
// label like the others instead of two lines of Japanese.
QImage paintIcons(bool english) {
  QImage img = canvas(72, 624, KEY);
  Pen g(img);
  for (int i = 0; i < 13; ++i) {
    const int y = 48 * i;
    buttonBase(g, y);
    if (i == 8 && english) {
      g.poly(QPolygon({QPoint(12, y + 8), QPoint(31, y + 8), QPoint(36, y + 13), QPoint(31, y + 18),
                       QPoint(12, y + 18)}),
             YELLOW, INK);
      g.ellipse(31, y + 12, 2, 2, INK, INK);
      const artgen::Glyph* letterA = artgen::findGlyph(artgen::kLabelFont, artgen::kLabelFontCount, 'A');
      g.glyph(14, y + 10, *letterA, INK, 1);
      g.labelCentred(24, y + 35, "ATTR", WHITE, 1, INK);
    } else if (i == 8) {
      // Attribute mode speaks Japanese: a smaller tag and two lines of text.
      g.box(3, y + 17, 42, 27, BTN_DK);
      g.poly(QPolygon({QPoint(12, y + 4), QPoint(31, y + 4), QPoint(36, y + 9), QPoint(31, y + 14),
                       QPoint(12, y + 14)}),
             YELLOW, INK);
      g.ellipse(31, y + 8, 2, 2, INK, INK);
      const artgen::Glyph* letterA = artgen::findGlyph(artgen::kLabelFont, artgen::kLabelFontCount, 'A');
      g.glyph(14, y + 6, *letterA, INK, 1);
      g.p.setFont(jpFont("IPAGothic", 13));
      for (int pass = 0; pass < 2; ++pass) {
        const int d = pass == 0 ? 1 : 0;  // ink shadow first, then white
        g.p.setPen(qc(pass == 0 ? INK : WHITE));
        g.p.drawText(QRect(3 + d, y + 17 + d, 42, 14), Qt::AlignHCenter | Qt::AlignVCenter, QString::fromUtf8("属性"));
        g.p.drawText(QRect(3 + d, y + 30 + d, 42, 14), Qt::AlignHCenter | Qt::AlignVCenter, QString::fromUtf8("モード"));
      }
    } else {
      paintPictogram(g, i, y);
      g.labelCentred(24, y + 35, kIconLabels[i], WHITE, 1, INK);
    }
  }
  for (int k = 0; k < 7; ++k) {
    stripBase(g, 48, 20 * k);
    paintStripPictogram(g, k, 48, 20 * k);
  }
  return img;
}

// ---------------------------------------------------------------------------
// MES: caption balloons, two lines of small Japanese text each.

struct Caption {
  const char* first;
  const char* second;
  const char* third = "";  // only for a caption too long for two lines
  char key = 0;            // the key that does the same, on a key cap at the bottom right
};

// The command buttons' 13, then the tool strip's (F, P, N, R, D, A, zoom),
// in Japanese and in English.
const Caption kCaptionsJa[20] = {
    {"ビットマップを", "ロードします。"}, {"マップデータを", "ロードします。"},
    {"マップデータを", "セーブします。"}, {"マップのサイズを", "変更します。"},
    {"1つ前の状態に", "戻します。"},      {"マップデータを", "消去します。"},
    {"OutDataへ1つづつ", "チップを置きます。"}, {"OutDataへ", "連続してチップを", "置きます。", 'B'},
    {"属性編集モード", "に入ります。"},   {"マップを", "確認します"},
    {"いろいろと", "設定をします。"},     {"作業終了します。", "おつかれさま。"},
    {"最小化します。", ""},
    {"つながった所を", "ぬりつぶす。", "", 'F'},  {"四角い範囲を", "ぬりつぶす。", "", 'P'},
    {"角・辺・中身で", "四角を描く。", "", 'N'},   {"同じチップを", "置きかえる。", "", 'R'},
    {"ランダムに", "置きます。", "", 'D'},        {"ブラシの大きさ", "ずつ置く。", "", 'A'},
    {"マップの表示を", "縮小する。", "", '-'},
};
const Caption kCaptionsEn[20] = {
    {"Load the chip", "picture."}, {"Open a", "map file."},
    {"Save the", "map file."},           {"Change the", "map's size."},
    {"Take back the", "last change."},   {"Clear the", "whole map."},
    {"Put chips", "one by one."}, {"Paint chips", "freely.", "", 'B'},
    {"Edit the", "attributes."},         {"Look over the", "whole map."},
    {"Change the", "settings."},         {"Finish work.", "Good job!"},
    {"Minimise.", ""},
    {"Fill a joined", "area.", "", 'F'},   {"Fill a", "rectangle.", "", 'P'},
    {"Draw a box", "in 9 parts.", "", 'N'}, {"Replace a", "chip.", "", 'R'},
    {"Put chips", "at random.", "", 'D'}, {"Step by the", "brush.", "", 'A'},
    {"Zoom the map", "out.", "", '-'},
};

// A key cap in a corner of the balloon clear of the text: bottom right under
// two lines, top right over three (whose first line is the short one).
void paintKeyCap(Pen& g, int x, int y, char key, bool top) {
  const int capY = y + (top ? 1 : 16), capH = top ? 11 : 12;
  g.panel(x + 64, capY, 11, capH, INK, BTN_HI);
  g.box(x + 65, capY + capH - 2, 9, 1, BTN);
  const artgen::Glyph* letter = artgen::findGlyph(artgen::kLabelFont, artgen::kLabelFontCount, key);
  if (letter) g.glyph(x + 67, capY + 2, *letter, INK, 1);
}

QImage paintCaptions(bool english) {
  const Caption* captions = english ? kCaptionsEn : kCaptionsJa;
  QImage img = canvas(240, 224, KEY_GREEN);
  Pen g(img);
  for (int i = 0; i < 20; ++i) {
    const int x = 80 * (i % 3), y = 32 * (i / 3);
    // Balloon with rounded corners (the corner pixels keep the key colour)
    // and a soft shadow along the bottom and right.
    g.rounded(x, y, 80, 32, INK, PAPER);
    g.box(x + 2, y + 29, 77, 1, PAPER_SH);
    g.box(x + 77, y + 2, 1, 28, PAPER_SH);
    g.box(x + 1, y + 1, 2, 29, YELLOW);

    const QString a = QString::fromUtf8(captions[i].first), b = QString::fromUtf8(captions[i].second);
    // The largest size at which both lines fit inside the balloon.
    // The largest size at which both lines fit inside the balloon; the two
    // longest captions only fit at 10 px with the letters drawn one pixel
    // closer, which the proportional face takes without glyphs touching.
    QFont font;
    bool fits = false;
    for (int size = 12; size >= 10 && !fits; --size) {
      font = jpFont("IPAPGothic", size);
      const QFontMetrics m(font);
      // The key cap takes the second line's last 15 pixels.
      fits = m.horizontalAdvance(a) <= 73 && m.horizontalAdvance(b) <= (captions[i].key ? 58 : 73);
    }
    if (!fits) {
      font = jpFont("IPAPGothic", 10);
      font.setLetterSpacing(QFont::AbsoluteSpacing, -1);
      const QFontMetrics m(font);
      if (m.horizontalAdvance(a) > 74 || m.horizontalAdvance(b) > 74)
        std::fprintf(stderr, "artgen: caption %d does not fit its balloon\n", i);
    }
    g.p.setFont(font);
    g.p.setPen(qc(INK));
    if (*captions[i].third) {
      // Three tight lines at 10 px.
      g.p.setFont(jpFont("IPAPGothic", 10));
      const char* lines[3] = {captions[i].first, captions[i].second, captions[i].third};
      for (int k = 0; k < 3; ++k)
        g.p.drawText(QRect(x + 5, y + 1 + 10 * k, 73, 10), Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromUtf8(lines[k]));
    } else if (b.isEmpty()) {
      g.p.drawText(QRect(x + 4, y + 1, 73, 29), Qt::AlignCenter, a);
    } else {
      g.p.drawText(QRect(x + 4, y + 2, 75, 14), Qt::AlignLeft | Qt::AlignVCenter, a);
      g.p.drawText(QRect(x + 4, y + 15, 75, 14), Qt::AlignLeft | Qt::AlignVCenter, b);
    }
    if (captions[i].key) paintKeyCap(g, x, y, captions[i].key, *captions[i].third != 0);
  }
  return img;
}

// ---------------------------------------------------------------------------
// The program icon: a framed little map with a block of chips picked up.

QImage paintProgramIcon() {
  QImage img(64, 64, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  Pen g(img);
  g.box(3, 2, 58, 60, INK);
  g.box(2, 3, 60, 58, INK);
  g.box(4, 4, 56, 56, STEEL);
  g.box(4, 4, 56, 2, STEEL_HI);
  g.box(4, 4, 2, 56, STEEL_HI);
  const Pal tiles[4][4] = {{GREEN, GREEN, SKY, SKY}, {GREEN, BROWN, GREEN, SKY},
                           {GREEN, GREEN, GREEN, GREEN}, {YELLOW, GREEN, GREEN_DK, GREEN}};
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) g.box(8 + c * 12, 8 + r * 12, 11, 11, tiles[r][c]);
  g.box(8 + 12, 8 + 12, 11, 11, RED);
  g.box(8 + 12, 8 + 12, 11, 3, RED_DK);
  g.p.setPen(QPen(qc(YELLOW), 2));
  g.p.drawRect(31, 31, 24, 24);
  g.box(33, 33, 20, 1, WHITE);  // a glint on the lifted block
  return img;
}

// ---------------------------------------------------------------------------
// Sample chip sheet: 8 x 8 chips of 32 x 32 in true colour.

uint32_t hash3(int x, int y, int seed) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
               static_cast<uint32_t>(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return h ^ (h >> 16);
}

QColor shade(QColor c, int d) {
  return QColor(std::clamp(c.red() + d, 16, 255), std::clamp(c.green() + d, 16, 255), std::clamp(c.blue() + d, 24, 255));
}

struct Chips {
  QImage img{256, 256, QImage::Format_RGB32};
  QPainter p{&img};
  Chips() { p.setRenderHint(QPainter::Antialiasing, false); }

  // Mottled ground: every pixel of the base colour moved a little lighter or
  // darker by a position hash, tileable because the hash is taken mod 32.
  void ground(int cx, int cy, QColor base, int spread, int seed) {
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        const uint32_t h = hash3(x, y, seed) % 100;
        int d = 0;
        if (h < 18) d = -spread;
        else if (h < 30) d = spread;
        else if (h < 33) d = -2 * spread;
        img.setPixelColor(cx * 32 + x, cy * 32 + y, shade(base, d));
      }
  }
  void grass(int cx, int cy, int seed = 1) { ground(cx, cy, QColor(86, 156, 70), 10, seed); }
  void fill(int x, int y, int w, int h, QColor c) { p.fillRect(x, y, w, h, c); }
  void dot(int x, int y, QColor c) { img.setPixelColor(x, y, c); }
  void tufts(int cx, int cy, int seed, QColor c, int count) {
    for (int k = 0; k < count; ++k) {
      const int x = cx * 32 + 2 + hash3(k, 1, seed) % 28, y = cy * 32 + 3 + hash3(k, 2, seed) % 26;
      dot(x, y, c);
      dot(x - 1, y + 1, c);
      dot(x + 1, y + 1, c);
    }
  }
  void flowers(int cx, int cy, int seed, QColor petal, int count) {
    for (int k = 0; k < count; ++k) {
      const int x = cx * 32 + 3 + hash3(k, 3, seed) % 26, y = cy * 32 + 3 + hash3(k, 4, seed) % 26;
      dot(x, y - 1, petal);
      dot(x - 1, y, petal);
      dot(x + 1, y, petal);
      dot(x, y + 1, petal);
      dot(x, y, QColor(250, 220, 80));
    }
  }
  void water(int cx, int cy, QColor base, int seed) {
    ground(cx, cy, base, 6, seed);
    for (int k = 0; k < 5; ++k) {
      const int x = cx * 32 + 2 + hash3(k, 5, seed) % 24, y = cy * 32 + 3 + hash3(k, 6, seed) % 27;
      fill(x, y, 5, 1, shade(base, 40));
      fill(x + 1, y + 1, 3, 1, shade(base, -14));
    }
  }
  void bricks(int cx, int cy, QColor brick, QColor mortar, int rowH, int brickW) {
    fill(cx * 32, cy * 32, 32, 32, mortar);
    for (int r = 0; r * rowH < 32; ++r)
      for (int b = -1; b * brickW < 32; ++b) {
        const int x = b * brickW + (r % 2) * (brickW / 2), y = r * rowH;
        const int x0 = std::max(x, 0), x1 = std::min(x + brickW - 1, 32);
        if (x1 <= x0) continue;
        const QColor c = shade(brick, static_cast<int>(hash3(b + 9, r, 77) % 3) * 8 - 8);
        fill(cx * 32 + x0, cy * 32 + y, x1 - x0, rowH - 1, c);
        fill(cx * 32 + x0, cy * 32 + y, x1 - x0, 1, shade(c, 24));
      }
  }
  void outlineEllipse(int x, int y, int w, int h, QColor fillC, QColor edge) {
    p.setPen(edge);
    p.setBrush(fillC);
    p.drawEllipse(x, y, w, h);
    p.setBrush(Qt::NoBrush);
  }
  void outlineRect(int x, int y, int w, int h, QColor fillC, QColor edge) {
    p.fillRect(x, y, w, h, edge);
    p.fillRect(x + 1, y + 1, w - 2, h - 2, fillC);
  }
};

const QColor kOutline(34, 40, 30);

void paintChipSheet(Chips& s) {
  const QColor grassC(86, 156, 70), sand(222, 200, 140), dirt(150, 112, 72), waterC(62, 124, 200),
      deep(40, 82, 160), stone(150, 150, 156), wood(160, 110, 60);
  // Row 0: grass and its variants. Chip (0, 0) is the quiet default ground.
  s.grass(0, 0, 1);
  s.ground(1, 0, QColor(74, 140, 62), 10, 2);
  s.grass(2, 0, 3), s.tufts(2, 0, 3, QColor(60, 116, 48), 9);
  s.grass(3, 0, 4), s.flowers(3, 0, 4, QColor(250, 250, 250), 5);
  s.grass(4, 0, 5), s.flowers(4, 0, 5, QColor(226, 70, 70), 5);
  s.grass(5, 0, 6), s.flowers(5, 0, 6, QColor(150, 110, 230), 5);
  s.ground(6, 0, QColor(110, 170, 72), 12, 7), s.tufts(6, 0, 7, QColor(140, 196, 90), 14);
  s.ground(7, 0, QColor(104, 120, 60), 10, 8);

  // Row 1: bare grounds.
  s.ground(0, 1, dirt, 10, 11);
  s.ground(1, 1, sand, 8, 12);
  s.ground(2, 1, sand, 8, 13);
  for (int k = 0; k < 6; ++k)
    s.fill(2 * 32 + 3 + hash3(k, 7, 13) % 26, 32 + 3 + hash3(k, 8, 13) % 26, 2, 2, QColor(170, 150, 120));
  s.ground(3, 1, QColor(128, 124, 118), 14, 14);  // gravel
  s.ground(4, 1, QColor(104, 80, 56), 8, 15);     // mud
  s.ground(5, 1, QColor(236, 240, 248), 6, 16);   // snow
  s.ground(6, 1, QColor(176, 214, 236), 6, 17);   // ice
  for (int k = 0; k < 4; ++k) s.fill(6 * 32 + 4 + k * 6, 32 + 6 + k * 5, 6, 1, QColor(232, 246, 255));
  s.ground(7, 1, grassC, 10, 18);  // grass with a dirt path across
  s.fill(7 * 32, 32 + 11, 32, 10, dirt);
  s.fill(7 * 32, 32 + 11, 32, 1, shade(dirt, -24));
  s.fill(7 * 32, 32 + 20, 32, 1, shade(dirt, -24));

  // Row 2: water and shores (grass on the named side).
  s.water(0, 2, waterC, 21);
  s.water(1, 2, deep, 22);
  s.water(2, 2, waterC, 23);
  s.outlineEllipse(2 * 32 + 8, 64 + 9, 14, 10, QColor(70, 160, 70), QColor(30, 90, 40));
  s.dot(2 * 32 + 15, 64 + 12, QColor(240, 140, 190));
  for (int side = 0; side < 4; ++side) {
    const int cx = 3 + side;
    s.water(cx, 2, waterC, 24 + side);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        const int wobble = static_cast<int>(hash3(side == 0 || side == 1 ? x / 4 : y / 4, side, 5) % 3);
        const int depth = side == 0 ? y : side == 1 ? 31 - y : side == 2 ? x : 31 - x;
        if (depth < 9 + wobble) s.dot(cx * 32 + x, 64 + y, shade(grassC, (hash3(x, y, 40) % 5 == 0) ? -10 : 0));
        else if (depth < 11 + wobble) s.dot(cx * 32 + x, 64 + y, sand);
      }
  }

  s.water(7, 2, waterC, 28);  // rocks in the stream
  s.outlineEllipse(7 * 32 + 4, 64 + 6, 11, 8, stone, QColor(70, 70, 76));
  s.outlineEllipse(7 * 32 + 16, 64 + 17, 12, 9, stone, QColor(70, 70, 76));
  s.fill(7 * 32 + 6, 64 + 7, 4, 1, QColor(200, 200, 206));
  s.fill(7 * 32 + 18, 64 + 18, 4, 1, QColor(200, 200, 206));
  s.fill(7 * 32 + 3, 64 + 15, 8, 1, QColor(200, 230, 250));
  s.fill(7 * 32 + 15, 64 + 27, 10, 1, QColor(200, 230, 250));

  // Row 3: roads, walls and floors.
  s.ground(0, 3, QColor(130, 126, 120), 6, 31);  // cobbles
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) {
      const int x = c * 8 + (r % 2) * 4, y = r * 8;
      s.outlineRect(x % 32, 96 + y, std::min(8, 32 - x % 32), 8, QColor(150, 146, 140), QColor(96, 92, 88));
    }
  s.ground(1, 3, QColor(186, 176, 160), 5, 32);  // paved road with a centre line
  for (int x = 2; x < 32; x += 12) s.fill(32 + x, 96 + 15, 7, 2, QColor(240, 230, 200));
  s.bricks(2, 3, stone, QColor(90, 90, 98), 8, 16);
  s.bricks(3, 3, QColor(176, 76, 56), QColor(210, 190, 170), 6, 12);
  s.bricks(4, 3, QColor(120, 122, 136), QColor(70, 70, 82), 6, 12);
  for (int k = 0; k < 4; ++k) s.outlineRect(5 * 32, 96 + k * 8, 32, 8, shade(wood, (k % 2) * 10), QColor(100, 64, 30));
  s.ground(6, 3, QColor(196, 190, 176), 4, 35);  // stone floor tiles
  for (int k = 0; k < 2; ++k) {
    s.fill(6 * 32, 96 + k * 16, 32, 1, QColor(140, 136, 126));
    s.fill(6 * 32 + k * 16, 96, 1, 32, QColor(140, 136, 126));
  }
  s.ground(7, 3, QColor(120, 60, 70), 4, 36);  // carpet with a border
  s.p.setPen(QColor(220, 180, 80));
  s.p.drawRect(7 * 32 + 3, 96 + 3, 25, 25);

  // Row 4: plants and rocks on grass.
  for (int c = 0; c < 8; ++c) s.grass(c, 4, 41 + c);
  const int y4 = 128;
  s.fill(0 * 32 + 14, y4 + 20, 4, 9, QColor(110, 70, 40));  // round tree
  s.outlineEllipse(0 * 32 + 4, y4 + 2, 23, 21, QColor(52, 128, 56), kOutline);
  s.outlineEllipse(0 * 32 + 8, y4 + 5, 9, 7, QColor(84, 164, 76), QColor(84, 164, 76));
  s.fill(1 * 32 + 14, y4 + 24, 4, 6, QColor(110, 70, 40));  // pine
  s.p.setPen(kOutline);
  s.p.setBrush(QColor(36, 104, 64));
  s.p.drawPolygon(QPolygon({QPoint(32 + 16, y4 + 2), QPoint(32 + 27, y4 + 25), QPoint(32 + 5, y4 + 25)}));
  s.p.setBrush(Qt::NoBrush);
  s.outlineEllipse(2 * 32 + 5, y4 + 10, 22, 16, QColor(64, 140, 60), kOutline);  // bush
  s.flowers(2, 4, 9, QColor(240, 120, 150), 3);
  s.outlineEllipse(3 * 32 + 6, y4 + 10, 20, 15, stone, QColor(70, 70, 76));  // rock
  s.fill(3 * 32 + 10, y4 + 13, 6, 2, QColor(200, 200, 206));
  s.outlineEllipse(4 * 32 + 9, y4 + 14, 14, 10, QColor(140, 96, 56), QColor(80, 50, 26));  // stump
  s.outlineEllipse(4 * 32 + 11, y4 + 15, 10, 5, QColor(214, 180, 120), QColor(150, 110, 60));
  s.ground(5, 4, QColor(120, 86, 56), 8, 46);  // flower bed
  s.flowers(5, 4, 46, QColor(240, 80, 90), 7);
  s.flowers(5, 4, 47, QColor(250, 250, 250), 4);
  const QColor cactus(46, 128, 92), cactusHi(120, 200, 140);  // cactus, arms first
  s.outlineRect(6 * 32 + 7, y4 + 8, 5, 10, cactus, kOutline);
  s.outlineRect(6 * 32 + 7, y4 + 15, 8, 5, cactus, kOutline);
  s.outlineRect(6 * 32 + 21, y4 + 11, 5, 8, cactus, kOutline);
  s.outlineRect(6 * 32 + 17, y4 + 16, 8, 5, cactus, kOutline);
  s.outlineRect(6 * 32 + 12, y4 + 5, 8, 24, cactus, kOutline);
  s.fill(6 * 32 + 8, y4 + 16, 6, 3, cactus);
  s.fill(6 * 32 + 18, y4 + 17, 6, 3, cactus);
  s.fill(6 * 32 + 14, y4 + 7, 1, 20, cactusHi);
  s.fill(6 * 32 + 8, y4 + 9, 1, 6, cactusHi);
  s.fill(7 * 32 + 14, y4 + 18, 5, 9, QColor(236, 226, 200));  // mushroom
  s.outlineEllipse(7 * 32 + 7, y4 + 9, 18, 12, QColor(210, 56, 50), QColor(110, 30, 30));
  s.fill(7 * 32 + 11, y4 + 12, 2, 2, QColor(250, 250, 250));
  s.fill(7 * 32 + 18, y4 + 11, 2, 2, QColor(250, 250, 250));

  // Row 5: bridges, roofs, house walls, fence, well.
  const int y5 = 160;
  s.water(0, 5, waterC, 51);
  for (int x = 0; x < 32; x += 4) s.outlineRect(x, y5 + 4, 4, 24, shade(wood, (x / 4 % 2) * 10), QColor(96, 60, 28));
  s.water(1, 5, waterC, 52);
  for (int y = 0; y < 32; y += 4) s.outlineRect(32 + 4, y5 + y, 24, 4, shade(wood, (y / 4 % 2) * 10), QColor(96, 60, 28));
  for (int k = 0; k < 2; ++k) {
    const QColor roof = k == 0 ? QColor(180, 60, 50) : QColor(60, 90, 160);
    s.fill((2 + k) * 32, y5, 32, 32, shade(roof, -30));
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 4; ++c)
        s.outlineEllipse((2 + k) * 32 + c * 8 + (r % 2) * 4 - 1, y5 + r * 8, 9, 9, roof, shade(roof, -50));
  }
  s.fill(4 * 32, y5, 32, 32, QColor(230, 214, 176));  // wall with a window
  s.fill(4 * 32, y5 + 28, 32, 4, QColor(140, 110, 80));
  s.outlineRect(4 * 32 + 9, y5 + 7, 14, 14, QColor(150, 200, 240), QColor(100, 64, 30));
  s.fill(4 * 32 + 15, y5 + 8, 2, 12, QColor(100, 64, 30));
  s.fill(4 * 32 + 10, y5 + 13, 12, 2, QColor(100, 64, 30));
  s.fill(5 * 32, y5, 32, 32, QColor(230, 214, 176));  // wall with a door
  s.outlineRect(5 * 32 + 9, y5 + 6, 14, 26, QColor(150, 96, 52), QColor(90, 56, 26));
  s.dot(5 * 32 + 19, y5 + 19, QColor(250, 220, 80));
  s.grass(6, 5, 56);  // fence
  s.fill(6 * 32, y5 + 10, 32, 3, QColor(210, 180, 130));
  s.fill(6 * 32, y5 + 19, 32, 3, QColor(210, 180, 130));
  for (int x = 3; x < 32; x += 10) s.outlineRect(6 * 32 + x, y5 + 5, 5, 22, QColor(220, 190, 140), QColor(110, 80, 44));
  s.grass(7, 5, 57);  // well
  s.outlineEllipse(7 * 32 + 4, y5 + 6, 24, 22, stone, QColor(70, 70, 76));
  s.outlineEllipse(7 * 32 + 9, y5 + 11, 14, 12, deep, QColor(50, 50, 60));

  // Row 6: props.
  const int y6 = 192;
  for (int c = 0; c < 4; ++c) s.grass(c, 6, 61 + c);
  s.fill(0 * 32 + 15, y6 + 12, 3, 17, QColor(110, 70, 40));  // signpost
  s.outlineRect(0 * 32 + 5, y6 + 5, 22, 10, QColor(200, 160, 100), QColor(100, 64, 30));
  s.fill(0 * 32 + 8, y6 + 9, 16, 1, QColor(120, 84, 44));
  s.outlineRect(1 * 32 + 5, y6 + 10, 22, 16, QColor(170, 110, 50), QColor(80, 48, 20));  // chest
  s.fill(1 * 32 + 6, y6 + 15, 20, 2, QColor(220, 190, 70));
  s.fill(1 * 32 + 15, y6 + 14, 3, 5, QColor(250, 220, 80));
  s.outlineEllipse(2 * 32 + 8, y6 + 5, 16, 23, QColor(150, 100, 54), QColor(80, 50, 24));  // barrel
  s.fill(2 * 32 + 9, y6 + 10, 15, 1, QColor(90, 90, 96));
  s.fill(2 * 32 + 9, y6 + 22, 15, 1, QColor(90, 90, 96));
  s.outlineRect(3 * 32 + 6, y6 + 6, 21, 21, QColor(190, 140, 80), QColor(100, 64, 30));  // crate
  s.p.setPen(QColor(120, 80, 40));
  s.p.drawLine(3 * 32 + 7, y6 + 7, 3 * 32 + 25, y6 + 25);
  s.p.drawLine(3 * 32 + 25, y6 + 7, 3 * 32 + 7, y6 + 25);
  for (int k = 0; k < 4; ++k)  // stairs
    s.outlineRect(4 * 32, y6 + k * 8, 32, 8, shade(stone, 30 - k * 14), QColor(80, 80, 86));
  s.ground(5, 6, QColor(210, 80, 30), 20, 65);  // lava
  for (int k = 0; k < 5; ++k)
    s.fill(5 * 32 + hash3(k, 9, 65) % 26, y6 + hash3(k, 10, 65) % 28, 5, 2, QColor(255, 200, 60));
  s.ground(6, 6, QColor(48, 110, 50), 12, 66);  // hedge
  s.fill(6 * 32, y6 + 28, 32, 4, QColor(40, 80, 40));
  s.grass(7, 6, 67);  // lamp post
  s.fill(7 * 32 + 15, y6 + 10, 3, 19, QColor(60, 60, 70));
  s.outlineRect(7 * 32 + 11, y6 + 3, 11, 9, QColor(255, 230, 130), QColor(60, 60, 70));

  // Row 7: fields and structures.
  const int y7 = 224;
  s.ground(0, 7, QColor(120, 86, 56), 8, 71);  // tilled field
  for (int y = 2; y < 32; y += 6) s.fill(0, y7 + y, 32, 2, QColor(90, 62, 40));
  s.ground(1, 7, QColor(120, 86, 56), 8, 72);  // crops
  for (int y = 4; y < 32; y += 8)
    for (int x = 3; x < 32; x += 7) s.outlineEllipse(32 + x, y7 + y, 4, 4, QColor(90, 190, 80), QColor(40, 110, 40));
  s.ground(2, 7, QColor(220, 186, 90), 14, 73);  // wheat
  for (int x = 1; x < 32; x += 3) s.fill(64 + x, y7 + 2 + hash3(x, 1, 73) % 4, 1, 6, QColor(250, 220, 120));
  s.grass(3, 7, 74);  // pumpkin
  s.outlineEllipse(3 * 32 + 6, y7 + 10, 20, 16, QColor(236, 140, 40), QColor(130, 70, 20));
  s.fill(3 * 32 + 15, y7 + 6, 3, 5, QColor(60, 110, 40));
  s.water(4, 7, waterC, 75);  // dock end
  s.fill(4 * 32 + 4, y7, 24, 24, wood);
  for (int x = 4; x < 28; x += 6) s.fill(4 * 32 + x, y7, 1, 24, QColor(110, 70, 36));
  s.fill(4 * 32 + 4, y7 + 24, 24, 2, QColor(90, 56, 28));
  s.ground(5, 7, QColor(196, 190, 176), 4, 76);  // pillar on a floor
  s.outlineRect(5 * 32 + 9, y7 + 2, 14, 28, QColor(220, 216, 206), QColor(110, 106, 100));
  s.fill(5 * 32 + 12, y7 + 3, 2, 26, QColor(245, 242, 236));
  s.water(6, 7, waterC, 77);  // stepping stones
  for (int k = 0; k < 3; ++k) s.outlineEllipse(6 * 32 + 3 + k * 9, y7 + 4 + k * 9, 8, 6, stone, QColor(70, 70, 76));
  s.ground(7, 7, sand, 8, 78);  // sand with a shell and a starfish
  s.outlineEllipse(7 * 32 + 6, y7 + 8, 7, 6, QColor(250, 230, 220), QColor(180, 140, 120));
  s.p.setPen(QColor(230, 120, 70));
  s.p.drawLine(7 * 32 + 20, y7 + 16, 7 * 32 + 26, y7 + 22);
  s.p.drawLine(7 * 32 + 26, y7 + 16, 7 * 32 + 20, y7 + 22);
  s.p.drawLine(7 * 32 + 23, y7 + 14, 7 * 32 + 23, y7 + 24);
}

// ---------------------------------------------------------------------------
// Wallpaper: a deep blue-slate dusk with a faint tile lattice.

QImage paintWallpaper() {
  QImage img(800, 600, QImage::Format_RGB32);
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) {
      const double t = y / 599.0;
      int r = static_cast<int>(28 + 14 * t), g = static_cast<int>(34 + 18 * t), b = static_cast<int>(58 + 10 * t);
      // A soft glow from the lower left.
      const double dx = (x - 120) / 800.0, dy = (y - 640) / 600.0;
      const double glow = std::max(0.0, 1.0 - std::sqrt(dx * dx + dy * dy) * 1.4);
      r += static_cast<int>(22 * glow), g += static_cast<int>(16 * glow), b += static_cast<int>(26 * glow);
      // Lattice of 32-pixel tiles, one shade lighter, and a dot on each crossing.
      if (x % 32 == 0 || y % 32 == 0) r += 4, g += 5, b += 7;
      if (x % 32 == 0 && y % 32 == 0) r += 14, g += 16, b += 20;
      // Bands of 4 rows so the gradient steps calmly instead of shimmering.
      img.setPixel(x, y, qRgb(r, g, b));
    }
  Pen g(img);
  g.label(16, 578, "Brindlecot", STEEL_DK, 1);
  return img;
}

// ---------------------------------------------------------------------------
// Mock-up of the editing screen from the generated files.

QImage keyed(const QString& path, QRgb key) {
  QImage img = QImage(path).convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if ((img.pixel(x, y) & 0xFFFFFF) == (key & 0xFFFFFF)) img.setPixel(x, y, 0);
  return img;
}

void frameAround(QPainter& p, const QImage& data, int x, int y, int w, int h) {
  auto cut = [&](int sx, int sy, int sw, int sh, int dx, int dy) { p.drawImage(dx, dy, data, sx, sy, sw, sh); };
  for (int k = 0; k < w; k += 64) {
    cut(0, 80, std::min(64, w - k), 6, x + k, y - 6);
    cut(0, 90, std::min(64, w - k), 6, x + k, y + h);
  }
  for (int k = 0; k < h; k += 64) {
    cut(64, 80, 6, std::min(64, h - k), x - 6, y + k);
    cut(74, 80, 6, std::min(64, h - k), x + w, y + k);
  }
  cut(0, 96, 6, 6, x - 6, y - 6);
  cut(10, 96, 6, 6, x + w, y - 6);
  cut(0, 106, 6, 6, x - 6, y + h);
  cut(10, 106, 6, 6, x + w, y + h);
}

QImage composePreview(const std::string& root) {
  const QString r = QString::fromStdString(root);
  const QImage wall(r + "/samples/Brin.bmp");
  const QImage chips(r + "/samples/chips.bmp");
  const QImage data = keyed(r + "/resources/DATA.bmp", 0);
  const QImage icons = keyed(r + "/resources/ICON.bmp", 0);
  const QImage mes = keyed(r + "/resources/MES.bmp", qRgb(0, 127, 0));
  QImage out(800, 600, QImage::Format_RGB32);
  QPainter p(&out);
  p.drawImage(0, 0, wall);
  const int xs[13] = {16, 72, 128, 200, 256, 312, 384, 440, 496, 568, 624, 736, 680};
  for (int i = 0; i < 13; ++i) p.drawImage(xs[i], 16, icons, 0, 48 * i, 48, 48);
  p.drawImage(384, 16, data, 96, 32, 48, 48);  // mode marker on POINT
  p.drawImage(72, 16, data, 0, 32, 48, 48);    // hover on LOAD
  p.drawImage(200, 16, data, 48, 32, 48, 48);  // pressed on SIZE

  // Chip-sheet window.
  p.drawImage(24, 112, chips, 0, 0, 256, 256);
  p.setPen(QColor(128, 128, 128));
  for (int k = 32; k < 256; k += 32) {
    p.drawLine(24 + k, 112, 24 + k, 367);
    p.drawLine(24, 112 + k, 279, 112 + k);
  }
  frameAround(p, data, 24, 112, 256, 256);
  p.drawImage(18, 85, data, 80, 112, 80, 23);

  // Map window: a small scene from the sample chips, with attribute digits.
  const int mx = 300, my = 112, mw = 480, mh = 470;
  p.setClipRect(mx, my, mw, mh);
  for (int c = 0; c < 15; ++c)
    for (int rr = 0; rr < 15; ++rr) {
      int cx = (c * 7 + rr * 3) % 11 == 0 ? 2 : 0, cy = 0;
      if (rr >= 9 && rr <= 11) cx = 0, cy = 2;
      if (rr == 8) cx = 3, cy = 2;
      if (rr == 12) cx = 4, cy = 2;
      if (c == 6 && rr >= 8 && rr <= 12) cx = 1, cy = 5;
      if (rr == 3 && c > 1 && c < 12) cx = 0, cy = 3;
      if (rr < 3 && c % 4 == 1) cx = 0, cy = 4;
      if (rr == 5 && c == 3) cx = 4, cy = 5;
      if (rr == 5 && c == 4) cx = 5, cy = 5;
      if (rr == 4 && (c == 3 || c == 4)) cx = 2, cy = 5;
      p.drawImage(mx + c * 32, my + rr * 32, chips, cx * 32, cy * 32, 32, 32);
    }
  for (int c = 0; c < 3; ++c)
    for (int d = 0; d < 3; ++d) p.drawImage(mx + c * 32 + 1 + d * 8, my + 13 * 32 + 1, data, ((c * 4 + d) % 10) * 8, 144, 8, 12);
  p.setClipping(false);
  p.setPen(QColor(128, 128, 128));
  for (int k = 32; k < mw; k += 32) p.drawLine(mx + k, my, mx + k, my + mh);
  for (int k = 32; k < mh; k += 32) p.drawLine(mx, my + k, mx + mw, my + k);
  frameAround(p, data, mx, my, mw, mh);
  p.drawImage(mx - 6, my - 27, data, 80, 80, 80, 23);
  p.drawImage(mx + 120, my + mh - 3, data, 16, 112, 7, 11);  // horizontal thumb
  p.drawImage(mx + mw - 3, my + 60, data, 0, 112, 11, 7);    // vertical thumb

  // Balloon over LOAD, the clock in digits, pointers.
  p.drawImage(72 - 16, 0, mes, 80, 0, 80, 32);
  const char* clock = "12:05 2026/12/07";
  for (int k = 0; clock[k]; ++k) {
    const char ch = clock[k];
    const int gi = ch == ':' ? 10 : ch == '/' ? 11 : ch - '0';
    if (ch != ' ') p.drawImage(600 + k * 8, 584, data, gi * 8, 144, 8, 12);
  }
  p.drawImage(92 - 4, 40 - 4, data, 0, 0, 32, 32);
  p.drawImage(150 - 4, 200 - 4, data, 32, 0, 32, 32);
  p.drawImage(780 - 16, 582 - 16, data, 64, 0, 32, 32);
  p.drawImage(520 - 16, 300 - 16, data, 96, 0, 32, 32);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const std::string root = argc > 1 ? argv[1] : ".";
  bool ok = true;
  ok &= writeIndexed(root + "/resources/DATA.bmp", paintData());
  ok &= writeIndexed(root + "/resources/ICON.bmp", paintIcons(false));
  ok &= writeIndexed(root + "/resources/MES.bmp", paintCaptions(false));
  ok &= writeIndexed(root + "/resources/ICON_EN.bmp", paintIcons(true));
  ok &= writeIndexed(root + "/resources/MES_EN.bmp", paintCaptions(true));
  ok &= paintProgramIcon().save(QString::fromStdString(root + "/resources/icon.png"), "PNG");
  {
    Chips sheet;
    paintChipSheet(sheet);
    sheet.p.end();
    ok &= writeTrue(root + "/samples/chips.bmp", sheet.img);
  }
  ok &= writeTrue(root + "/samples/Brin.bmp", paintWallpaper());
  ok &= composePreview(root).save(QString::fromStdString(root + "/docs/art-preview.png"), "PNG");
  if (!ok) {
    std::fprintf(stderr, "artgen: a file could not be written under %s\n", root.c_str());
    return 1;
  }
  return 0;
}
