// UTF-8 decoding on arbitrary bytes: no overread or overrun at any buffer
// size, and valid UTF-8 decodes exactly as Qt decodes it.
#include "CCodeConvert.h"

#include <QStringDecoder>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Exactly sized, terminated copy: ASan sees any read past the zero.
    std::vector<char> bytes(data, data + size);
    bytes.push_back('\0');
    const char* text = bytes.data();

    for (int room : {1, 2, 3, 7, 256}) {
        std::vector<char16_t> wide(static_cast<size_t>(room));
        const int n = CCodeConvert::Utf8ToWide(text, wide.data(), room);
        if (n < 0 || n >= room || wide[size_t(n)] != 0)
            std::abort();
        std::vector<char> back(static_cast<size_t>(room) * 4 + 1);
        char* end = CCodeConvert::WideToUtf8(wide.data(), back.data(), int(back.size()));
        if (end < back.data() || end >= back.data() + back.size() || *end != '\0')
            std::abort();
    }

    QString decoded;
    CCodeConvert::Utf8ToAnsi(text, decoded);
    const QByteArray valid(text);  // up to the first zero byte
    QStringDecoder qt(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString expected = qt.decode(valid);
    if (!qt.hasError() && expected.size() < CCodeConvert::kWideBufferSize && !expected.startsWith(QChar(0xFEFF))) {
        if (decoded != expected)
            std::abort();
        char out[1100];
        CCodeConvert::AnsiToUtf8(decoded, out, int(sizeof out));
        if (QByteArray(out) != valid)
            std::abort();
    }
    return 0;
}
