#include "CCodeConvert.h"

#include <cstring>

namespace {

constexpr unsigned kReplacement = 0xFFFD;

bool IsHighSurrogate(unsigned c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(unsigned c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

} // namespace

unsigned char* CCodeConvert::EncodeUtf8Char(unsigned int c, unsigned char* out)
{
    if (!out)
        return out;
    int n;
    unsigned char lead;
    if (c < 0x80) {
        *out++ = static_cast<unsigned char>(c);
        return out;
    } else if (c < 0x800) {
        n = 2;
        lead = 0xC0;
    } else if (c < 0x10000) {
        n = 3;
        lead = 0xE0;
    } else if (c < 0x200000) {
        n = 4;
        lead = 0xF0;
    } else if (c < 0x4000000) {
        n = 5;
        lead = 0xF8;
    } else {
        n = 6;
        lead = 0xFC;
    }
    out[0] = static_cast<unsigned char>(lead | ((c >> (6 * (n - 1))) & (0x7F >> n)));
    for (int i = 1; i < n; ++i)
        out[i] = static_cast<unsigned char>(0x80 | ((c >> (6 * (n - 1 - i))) & 0x3F));
    return out + n;
}

int CCodeConvert::DecodeUtf8Char(const unsigned char* in, unsigned int* c)
{
    if (!in || !c)
        return 0;
    const unsigned char lead = in[0];
    int n;
    if (lead < 0xC0) {
        *c = lead;  // ASCII, or a stray continuation byte taken as it is
        return 1;
    } else if (lead < 0xE0) {
        n = 2;
    } else if (lead < 0xF0) {
        n = 3;
    } else if (lead < 0xF8) {
        n = 4;
    } else if (lead < 0xFC) {
        n = 5;
    } else {
        n = 6;
    }
    unsigned value = lead & (0x7Fu >> n);
    for (int i = 1; i < n; ++i) {
        if (in[i] == 0)
            return 0;  // cut short by the end of the text: never read past it
        value = (value << 6) | (in[i] & 0x3F);
    }
    *c = value;
    return n;
}

char* CCodeConvert::WideToUtf8(const char16_t* wide, char* out, int size)
{
    if (!wide || !out || size <= 0)
        return out;
    out[0] = '\0';
    int written = 0;
    for (int i = 0; wide[i];) {
        unsigned c = wide[i];
        if (IsHighSurrogate(c) && IsLowSurrogate(wide[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unsigned(wide[i + 1]) - 0xDC00);
            i += 2;
        } else {
            if (IsHighSurrogate(c) || IsLowSurrogate(c))
                c = kReplacement;
            ++i;
        }
        unsigned char scratch[8];
        const int n = int(EncodeUtf8Char(c, scratch) - scratch);
        if (n <= 0 || written + n >= size)
            break;
        std::memcpy(out + written, scratch, size_t(n));
        written += n;
        out[written] = '\0';
    }
    return out + written;
}

int CCodeConvert::Utf8ToWide(const char* utf8, char16_t* out, int size)
{
    if (!utf8 || !out || size <= 0)
        return 0;
    out[0] = 0;
    int count = 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8);
    while (*p) {
        unsigned c = 0;
        const int n = DecodeUtf8Char(p, &c);
        if (n < 1)
            break;
        if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
            c = kReplacement;
        const int units = c > 0xFFFF ? 2 : 1;
        if (count + units >= size)
            break;
        if (units == 2) {
            c -= 0x10000;
            out[count++] = char16_t(0xD800 + (c >> 10));
            out[count++] = char16_t(0xDC00 + (c & 0x3FF));
        } else {
            out[count++] = char16_t(c);
        }
        out[count] = 0;
        p += n;
    }
    return count;
}

int CCodeConvert::AnsiToUtf8(const QString& text, char* buffer, int size)
{
    char16_t wide[kWideBufferSize] = {};
    qsizetype n = text.size() < kWideBufferSize - 1 ? text.size() : kWideBufferSize - 1;
    // Never keep half of a surrogate pair at the cut.
    if (n > 0 && n < text.size() && text[n - 1].isHighSurrogate())
        --n;
    std::memcpy(wide, text.utf16(), size_t(n) * sizeof(char16_t));
    if (buffer && size > 0)
        buffer[0] = '\0';
    WideToUtf8(wide, buffer, size);
    return 1;
}

int CCodeConvert::AnsiToUtf8(const QString& text, unsigned char* buffer, int size)
{
    return AnsiToUtf8(text, reinterpret_cast<char*>(buffer), size);
}

int CCodeConvert::Utf8ToAnsi(const char* bytes, QString& text)
{
    text.clear();
    if (!bytes || !*bytes)
        return 0;
    char16_t wide[kWideBufferSize] = {};
    const int count = Utf8ToWide(bytes, wide, kWideBufferSize);
    text = QString::fromUtf16(wide, count);
    return 1;
}

int CCodeConvert::Utf8ToAnsi(const unsigned char* bytes, QString& text)
{
    return Utf8ToAnsi(reinterpret_cast<const char*>(bytes), text);
}

int CCodeConvert::Utf8ToAnsi(const QByteArray& bytes, QString& text)
{
    // QByteArray's data is always zero-terminated.
    return Utf8ToAnsi(bytes.constData(), text);
}
