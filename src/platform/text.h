// text.h — fonts and antialiased vector text, drawn into the output that
// BeginDraw (images.h) chose.
#pragma once

#include "platform/core.h"

#include <string>

namespace plat {

// Fonts: sizes in points at load; vector text uses pixel sizes.
int LoadFont(int number, const std::string &face, int points, bool bold);
// The family fontconfig matches for the font (looked up on first asking).
std::string FontFamily(int number);
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
// From the top of the text's box down to the baseline of its first line.
double VectorTextBaseline(const std::string &utf8);
// The height of the text broken into lines w wide, as a paragraph draws it.
double VectorParagraphHeight(const std::string &utf8, double w);
// The language later texts are written in, as a tag ("ja-JP"; "" for the
// system's): it picks the faces of the characters several languages share,
// such as the Chinese characters of Japanese.
void SetTextLanguage(const std::string &tag);
// Whether the text reads from the right: its first strong letter is of a
// right-to-left script. Lines of text are laid out in their own direction.
bool RightToLeft(const std::string &utf8);
// The characters of the text that no installed font can show, in the
// current vector font; they are drawn as boxes.
int UnknownGlyphs(const std::string &utf8);

} // namespace plat
