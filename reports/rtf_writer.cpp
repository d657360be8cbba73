#include "reports/rtf_writer.h"

#include <cstdarg>
#include <cstdio>

enum { TWIPS_PER_PIXEL = 15, HEX_LINE_PIXELS = 32 };

static void Append(std::string *out, const char *format, ...) __attribute__((format(printf, 2, 3)));
static void Append(std::string *out, const char *format, ...)
{
    char text[128];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    out->append(text);
}

// A character outside 7-bit text: \uN with N a signed 16-bit number, and as
// the fallback for readers without Unicode the Latin-1 byte or '?' as a hex
// escape (a literal '?' after \uN is swallowed by some readers).
static void AppendUnicode(std::string *out, wchar_t c)
{
    unsigned unit = (unsigned)c & 0xffff; // UTF-16 code units, surrogates each on their own
    unsigned fallback = unit >= 0xa0 && unit <= 0xff ? unit : '?';
    Append(out, "\\u%d\\'%02x", (int)(int16_t)unit, fallback);
}

void Rtf_Text(std::string *out, const wchar_t *text)
{
    for (; *text; text++) {
        wchar_t c = *text;
        if (c == L'\\' || c == L'{' || c == L'}') {
            out->push_back('\\');
            out->push_back((char)c);
        } else if (c == L'\t') {
            out->append("\\tab ");
        } else if (c >= 0x20 && c < 0x7f) {
            out->push_back((char)c);
        } else if (c >= 0x80) {
            AppendUnicode(out, c);
        } // other control characters have no place in a line of text
    }
}

void Rtf_Begin(std::string *out, const wchar_t *const *faces, int count)
{
    out->append("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl");
    for (int i = 0; i < count; i++) {
        Append(out, "{\\f%d\\fnil ", i);
        Rtf_Text(out, faces[i]);
        out->append(";}");
    }
    out->append("}\n{\\colortbl;\\red0\\green0\\blue0;}\n");
}

// \plain resets the character format (Wine's RichEdit otherwise draws
// everything bold); \fs counts half points.
void Rtf_Format(std::string *out, RtfAlign align, int font, int twips)
{
    Append(out, "\\pard\\plain\\%s\\f%d\\fs%d\\cf1\\b0 ", align == RTF_CENTER ? "qc" : "ql", font, twips / 10);
}

void Rtf_Par(std::string *out)
{
    out->append("\\par\n");
}

static void AppendHex32(std::string *out, uint32_t value)
{
    Append(out, "%02x%02x%02x%02x", value & 0xff, (value >> 8) & 0xff, (value >> 16) & 0xff, value >> 24);
}

// BITMAPINFOHEADER: size, width, height (positive: bottom-up rows), planes
// and bits per pixel, BI_RGB, image size, resolution, palette counts.
static void AppendInfoHeader(std::string *out, const RtfPicture &picture)
{
    AppendHex32(out, 40);
    AppendHex32(out, (uint32_t)picture.width);
    AppendHex32(out, (uint32_t)picture.height);
    AppendHex32(out, 1 | 32 << 16);
    AppendHex32(out, 0);
    AppendHex32(out, (uint32_t)picture.width * (uint32_t)picture.height * 4);
    for (int i = 0; i < 4; i++)
        AppendHex32(out, 0);
    out->push_back('\n');
}

// \dibitmap0 is the one bitmap form Wine's RichEdit shows (with the right
// colours only at 32 bits per pixel); the goal size in twips keeps other
// readers from shrinking it to a dot.
void Rtf_Picture(std::string *out, const RtfPicture &picture)
{
    Append(out, "{\\pict\\dibitmap0\\picw%d\\pich%d\\picwgoal%d\\pichgoal%d\n", picture.width, picture.height,
           picture.width * TWIPS_PER_PIXEL, picture.height * TWIPS_PER_PIXEL);
    AppendInfoHeader(out, picture);
    static const char kHex[] = "0123456789abcdef";
    out->reserve(out->size() + (size_t)picture.width * picture.height * 8 * 33 / 32 + 4);
    for (int y = picture.height - 1; y >= 0; y--) {
        const uint8_t *p = picture.pixels + (size_t)y * picture.stride;
        for (int x = 0; x < picture.width; x++, p += 4) {
            for (int i = 0; i < 3; i++) {
                out->push_back(kHex[p[i] >> 4]);
                out->push_back(kHex[p[i] & 15]);
            }
            out->append("00");
            if (x % HEX_LINE_PIXELS == HEX_LINE_PIXELS - 1 || x == picture.width - 1)
                out->push_back('\n');
        }
    }
    out->append("}");
}

void Rtf_End(std::string *out)
{
    out->append("}\n");
}
