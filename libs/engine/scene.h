// The demo game's picture: a starfield flying towards the viewer, shapes bouncing off the edges
// and the game's class name, all drawn with GDI.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class Scene {
 public:
  explicit Scene(std::string title);
  ~Scene();
  Scene(const Scene&) = delete;
  Scene& operator=(const Scene&) = delete;

  // Moves everything on to the given time (seconds since the game started) in an area of the
  // given size.
  void Advance(double time, int width, int height);

  // Draws the current state over the whole of the area.
  void Draw(HDC dc, int width, int height) const;

 private:
  struct Star {
    float x, y;  // direction from the centre, -1..1
    float z;     // distance, 1 far .. kNearest near
  };
  struct Shape {
    float x, y;    // centre, in pixels
    float dx, dy;  // speed, pixels per second
    float size;    // radius, in pixels
    float hue;     // 0..1
    bool round;
  };

  float Random();  // 0..1, the same sequence every run
  void PlaceStar(Star& star, bool anywhere);
  void DrawBackground(HDC dc, int width, int height) const;
  void DrawStars(HDC dc, int width, int height) const;
  void DrawShapes(HDC dc) const;
  void DrawTitle(HDC dc, int width, int height) const;

  std::string title_;
  std::vector<Star> stars_;
  std::vector<Shape> shapes_;
  double time_ = 0;
  unsigned long frames_ = 0;
  unsigned int randomState_ = 12345;
  HFONT titleFont_;
  HFONT smallFont_;
};
