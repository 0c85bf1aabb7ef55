// text.h — fonts and antialiased vector text, drawn into the output that
// BeginDraw (images.h) chose.
#pragma once

#include "platform/core.h"

#include <string>

namespace plat {

// Fonts: sizes in points at load; vector text uses pixel sizes.
int LoadFont(int number, const std::string &face, int points, bool bold);
std::string FontFamily(int number); // the family fontconfig matched
void SetVectorFont(int font, double pixelSize);
void SetVectorColour(Colour c);
void MovePathCursor(double x, double y);
// Text with its top-left at the cursor; the cursor ends after the text.
void DrawVectorText(const std::string &utf8);
// Text wrapped into w x h from the cursor, "\n" breaks, lines centred when
// asked; what falls outside the box is cut off.
void DrawVectorParagraph(const std::string &utf8, double w, double h,
                         bool centred);
void DrawVectorImage(int image);
double VectorTextWidth(const std::string &utf8);
// The text in upper case, letters of every script.
std::string UpperCase(const std::string &utf8);
double VectorTextHeight(const std::string &utf8);
// The height of the text broken into lines w wide, as a paragraph draws it.
double VectorParagraphHeight(const std::string &utf8, double w);

} // namespace plat
