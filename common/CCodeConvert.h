#pragma once

// UTF-8 for the switch's name-like strings (VLAN names, OUI descriptions,
// community, user, group and view names). The program's text is QString;
// the "wide" form is UTF-16. Both text conversions go through a wide buffer
// of kWideBufferSize units, so at most 255 units of a text are converted.
// No conversion writes past the size it is given, reads past a zero byte,
// or leaves an unterminated output behind.

#include <QByteArray>
#include <QString>

class CCodeConvert
{
public:
    virtual ~CCodeConvert() = default;

    static constexpr int kWideBufferSize = 256;

    // Writes 1 to 6 bytes for code point c; returns the pointer after them
    // (out itself when out is null).
    static unsigned char* EncodeUtf8Char(unsigned int c, unsigned char* out);
    // Decodes the sequence at in (its length from the lead byte); returns
    // that length, or 0 for a null pointer or a sequence cut short by a zero
    // byte.
    static int DecodeUtf8Char(const unsigned char* in, unsigned int* c);

    // Zero-terminated UTF-16 to UTF-8 in out (size bytes, terminator
    // included; a character is never split). Surrogate pairs become one
    // 4-byte sequence, a lone surrogate U+FFFD. Returns the pointer after the
    // last byte written (at the terminator).
    static char* WideToUtf8(const char16_t* wide, char* out, int size);
    // Zero-terminated UTF-8 to UTF-16 in out (size units, terminator
    // included). Code points above U+FFFF become surrogate pairs; what no
    // UTF-16 text can hold (surrogates, beyond U+10FFFF) becomes U+FFFD.
    // Returns the number of units written.
    static int Utf8ToWide(const char* utf8, char16_t* out, int size);

    // Text to UTF-8 in the caller's buffer; always terminated. Returns 1.
    static int AnsiToUtf8(const QString& text, char* buffer, int size);
    static int AnsiToUtf8(const QString& text, unsigned char* buffer, int size);

    // Zero-terminated UTF-8 bytes to text; 0 (and "") for null or empty.
    static int Utf8ToAnsi(const char* bytes, QString& text);
    static int Utf8ToAnsi(const unsigned char* bytes, QString& text);
    // Received octets (need not be terminated; a zero byte ends the text).
    static int Utf8ToAnsi(const QByteArray& bytes, QString& text);
};
