// A small RTF writer: paragraphs of text in the fonts of one font table, and
// bitmap pictures. The output is 7-bit text; other characters are written as
// Unicode escapes.
#pragma once
#include <cstdint>
#include <string>

enum RtfAlign { RTF_LEFT, RTF_CENTER };

// A 32-bit picture: top-down rows of blue, green, red and an unused byte.
struct RtfPicture {
    int width, height;
    const uint8_t *pixels;
    int stride; // bytes from one row to the next
};

// Opens the document with its font table (font i is faces[i]) and a colour
// table whose colour 1 is black.
void Rtf_Begin(std::string *out, const wchar_t *const *faces, int count);
// Sets the paragraph and character format of what follows: alignment, font,
// height in twips (a multiple of 10), black, not bold.
void Rtf_Format(std::string *out, RtfAlign align, int font, int twips);
// Text without line ends.
void Rtf_Text(std::string *out, const wchar_t *text);
// Ends the paragraph.
void Rtf_Par(std::string *out);
// The picture as a device-independent bitmap (32 bits per pixel, rows
// bottom-up) shown at its size in pixels on a 96-dpi screen.
void Rtf_Picture(std::string *out, const RtfPicture &picture);
void Rtf_End(std::string *out);
