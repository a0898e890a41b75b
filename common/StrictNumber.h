#pragma once

// Numbers as checked are numbers as sent: the whole text must be a decimal
// number in range, and what goes to the switch is the canonical text of the
// value that was checked, never the raw input. Refused: "", " 7", "7 ",
// "+7", "0x1E", "15abc", "1e1", "٣" (non-ASCII digits), overflow.
// Leading zeros are accepted and dropped ("007" sends "7").

#include <QString>

// True when `text` is a decimal integer within lo..hi; then *value and
// *canonical (each optional) get the value and its decimal text.
bool ParseStrictInt(const QString& text, qint64 lo, qint64 hi, qint64* value = nullptr,
                    QString* canonical = nullptr);

// The same for numbers with at most one fractional digit ("15.4", "15",
// "0.5"; refused ".5", "15.", "15.45"). Bounds and *tenths are in tenths
// (15.4 -> 154); *canonical is the shortest text of the value ("15.4",
// "15" for "15.0").
bool ParseStrictTenths(const QString& text, qint64 loTenths, qint64 hiTenths, qint64* tenths = nullptr,
                       QString* canonical = nullptr);

// The same for decimal numbers with up to nFractionDigits (1 to 9)
// fractional digits; further digits are accepted only as zeros ("15.40"
// with 1 digit is 15.4). Bounds and *scaled are in units of
// 10^-nFractionDigits (15.4 with 6 digits -> 15400000); *canonical is the
// shortest text of the value ("15.4", "370" for "370.0").
bool ParseStrictDecimal(const QString& text, int nFractionDigits, qint64 loScaled, qint64 hiScaled,
                        qint64* scaled = nullptr, QString* canonical = nullptr);
