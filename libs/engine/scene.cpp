#include "scene.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace {

constexpr int kStarCount = 400;
constexpr int kShapeCount = 7;
constexpr float kNearest = 0.05f;    // stars closer than this have flown past the viewer
constexpr float kStarSpeed = 0.35f;  // distance units per second
constexpr float kTrail = 0.03f;      // how far back in distance a star's streak reaches

// Hue, saturation and value, each 0..1, as a GDI colour.
COLORREF Hsv(float hue, float saturation, float value) {
  const float h = (hue - std::floor(hue)) * 6.0f;
  const int sector = static_cast<int>(h) % 6;
  const float f = h - std::floor(h);
  const float p = value * (1 - saturation);
  const float q = value * (1 - saturation * f);
  const float t = value * (1 - saturation * (1 - f));
  const float rgb[6][3] = {{value, t, p}, {q, value, p}, {p, value, t},
                           {p, q, value}, {t, p, value}, {value, p, q}};
  const float* c = rgb[sector];
  return RGB(static_cast<BYTE>(c[0] * 255), static_cast<BYTE>(c[1] * 255),
             static_cast<BYTE>(c[2] * 255));
}

HFONT MakeFont(int height, int weight) {
  return CreateFontA(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                     DEFAULT_PITCH | FF_SWISS, "Tahoma");
}

}  // namespace

Scene::Scene(std::string title)
    : title_(std::move(title)),
      titleFont_(MakeFont(56, FW_BOLD)),
      smallFont_(MakeFont(16, FW_NORMAL)) {
  stars_.resize(kStarCount);
  for (Star& star : stars_) PlaceStar(star, true);

  for (int n = 0; n < kShapeCount; ++n) {
    Shape shape;
    shape.size = 18 + 22 * Random();
    shape.x = 60 + 500 * Random();
    shape.y = 60 + 300 * Random();
    shape.dx = (Random() < 0.5f ? -1 : 1) * (90 + 140 * Random());
    shape.dy = (Random() < 0.5f ? -1 : 1) * (90 + 140 * Random());
    shape.hue = static_cast<float>(n) / kShapeCount;
    shape.round = n % 2 == 0;
    shapes_.push_back(shape);
  }
}

Scene::~Scene() {
  DeleteObject(titleFont_);
  DeleteObject(smallFont_);
}

float Scene::Random() {
  randomState_ = randomState_ * 1103515245u + 12345u;
  return static_cast<float>((randomState_ >> 8) & 0xFFFF) / 65535.0f;
}

void Scene::PlaceStar(Star& star, bool anywhere) {
  star.x = Random() * 2 - 1;
  star.y = Random() * 2 - 1;
  // At the start the stars fill the whole depth; later ones appear far away.
  star.z = anywhere ? kNearest + (1 - kNearest) * Random() : 1.0f;
}

void Scene::Advance(double time, int width, int height) {
  const float step =
      static_cast<float>(std::clamp(time - time_, 0.0, 0.1));  // no jumps after a stall
  time_ = time;
  ++frames_;

  for (Star& star : stars_) {
    star.z -= kStarSpeed * step;
    if (star.z < kNearest) PlaceStar(star, false);
  }

  for (Shape& shape : shapes_) {
    shape.x += shape.dx * step;
    shape.y += shape.dy * step;
    // Bounce: reflect the speed and keep the shape inside the area, also after a resize.
    if (shape.x - shape.size < 0) shape.dx = std::abs(shape.dx);
    if (shape.x + shape.size > width) shape.dx = -std::abs(shape.dx);
    if (shape.y - shape.size < 0) shape.dy = std::abs(shape.dy);
    if (shape.y + shape.size > height) shape.dy = -std::abs(shape.dy);
    shape.x = std::clamp(shape.x, shape.size, std::max(shape.size, width - shape.size));
    shape.y = std::clamp(shape.y, shape.size, std::max(shape.size, height - shape.size));
    shape.hue += 0.1f * step;
  }
}

void Scene::Draw(HDC dc, int width, int height) const {
  DrawBackground(dc, width, height);
  DrawStars(dc, width, height);
  DrawShapes(dc);
  DrawTitle(dc, width, height);
}

void Scene::DrawBackground(HDC dc, int width, int height) const {
  // A vertical gradient from deep blue to violet, in bands.
  constexpr int kBands = 64;
  for (int band = 0; band < kBands; ++band) {
    const float f = static_cast<float>(band) / (kBands - 1);
    RECT rect = {0, height * band / kBands, width, height * (band + 1) / kBands};
    SetDCBrushColor(dc, RGB(static_cast<BYTE>(6 + 34 * f), static_cast<BYTE>(8 + 4 * f),
                            static_cast<BYTE>(30 + 30 * f)));
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  }
}

void Scene::DrawStars(HDC dc, int width, int height) const {
  const float centreX = width / 2.0f;
  const float centreY = height / 2.0f;
  const float scale = std::max(width, height) / 2.0f;
  SelectObject(dc, GetStockObject(DC_PEN));
  SelectObject(dc, GetStockObject(DC_BRUSH));

  for (const Star& star : stars_) {
    const int x = static_cast<int>(centreX + star.x / star.z * scale);
    const int y = static_cast<int>(centreY + star.y / star.z * scale);
    if (x < 0 || y < 0 || x >= width || y >= height) continue;
    const float tailZ = std::min(1.0f, star.z + kTrail);
    const int tailX = static_cast<int>(centreX + star.x / tailZ * scale);
    const int tailY = static_cast<int>(centreY + star.y / tailZ * scale);

    // Near stars are bigger and brighter, with a faint blue tint far away.
    const float nearness = 1 - star.z;
    const BYTE light = static_cast<BYTE>(60 + 195 * nearness);
    const COLORREF colour = RGB(light, light, std::min(255, light + 40));
    SetDCPenColor(dc, colour);
    SetDCBrushColor(dc, colour);
    MoveToEx(dc, tailX, tailY, nullptr);
    LineTo(dc, x, y);
    const int radius = static_cast<int>(nearness * nearness * 3);
    if (radius > 0) Ellipse(dc, x - radius, y - radius, x + radius + 1, y + radius + 1);
  }
}

void Scene::DrawShapes(HDC dc) const {
  SelectObject(dc, GetStockObject(DC_PEN));
  SelectObject(dc, GetStockObject(DC_BRUSH));
  for (const Shape& shape : shapes_) {
    // Each shape breathes a little, at its own pace.
    const float pulse = 1 + 0.12f * static_cast<float>(std::sin(time_ * 3 + shape.hue * 20));
    const int r = static_cast<int>(shape.size * pulse);
    const int x = static_cast<int>(shape.x);
    const int y = static_cast<int>(shape.y);
    SetDCPenColor(dc, Hsv(shape.hue, 0.35f, 1.0f));
    SetDCBrushColor(dc, Hsv(shape.hue, 0.75f, 0.95f));
    if (shape.round) {
      Ellipse(dc, x - r, y - r, x + r, y + r);
    } else {
      RoundRect(dc, x - r, y - r, x + r, y + r, r / 2, r / 2);
    }
  }
}

void Scene::DrawTitle(HDC dc, int width, int height) const {
  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_CENTER | TA_BASELINE);

  SelectObject(dc, titleFont_);
  const int x = width / 2;
  const int y = height * 2 / 5;
  const int length = static_cast<int>(title_.size());
  SetTextColor(dc, RGB(0, 0, 0));
  TextOutA(dc, x + 3, y + 3, title_.c_str(), length);  // shadow
  SetTextColor(dc, Hsv(static_cast<float>(time_ * 0.05), 0.25f, 1.0f));
  TextOutA(dc, x, y, title_.c_str(), length);

  SelectObject(dc, smallFont_);
  SetTextColor(dc, RGB(200, 200, 230));
  const char* hint = "Vantor demo engine  -  Esc quits";
  TextOutA(dc, x, y + 36, hint, static_cast<int>(std::char_traits<char>::length(hint)));

  char status[64];
  const int statusLength =
      std::snprintf(status, sizeof status, "frame %lu   %.1f s", frames_, time_);
  SetTextAlign(dc, TA_LEFT | TA_BOTTOM);
  SetTextColor(dc, RGB(150, 150, 190));
  TextOutA(dc, 8, height - 6, status, std::max(0, statusLength));
}
