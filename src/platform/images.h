// images.h — off-screen images and drawing into them, into a sprite or
// onto the screen: boxes and copies of images.
#pragma once

#include "platform/core.h"
#include "platform/pictures.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace plat {

int LoadImage(int number, const uint8_t *png, size_t size);
int LoadImageFile(int number, const std::string &path);
int CreateImage(int number, int w, int h, Colour fill);
int ImageFromPicture(int number, Picture &&pic);
void FreeImage(int number);
bool ImageExists(int number);
int ImageWidth(int number);
int ImageHeight(int number);
// Smooth rescale to w x h.
void ResizeImage(int number, int w, int h);

enum class Target { Image, Sprite, Screen };
// Later drawing calls go to that output until EndDraw, which hands the
// result to a sprite or the screen.
bool BeginDraw(Target target, int number = 0);
void EndDraw();
void Box(int x, int y, int w, int h, Colour c);
void DrawImage(int image, int x, int y);      // opaque copy
void DrawAlphaImage(int image, int x, int y); // blended by the image's alpha

} // namespace plat
