#pragma once

// Number and size texts shown to the user, and the percentage texts of zoom and scale boxes.
// Every function keeps no state and may be called from any thread.

#include <QString>
#include <QtGlobal>

#include <stdexcept>

namespace support {

struct TFormatSettings {
    QString DecimalSeparator;
    QString ThousandSeparator;
};

// "." for decimals and "," for thousands whatever the user's locale says, so that sizes in
// file lists and reports read the same everywhere.
const TFormatSettings& FixedFormatSettings();
// The separators of the user's locale (the default QLocale).
TFormatSettings UserFormatSettings();

// The value with thousands separated and exactly `decimals` decimals (0..18).
QString FormatNumberN(double value, int decimals, const TFormatSettings& settings = FixedFormatSettings());
// Whole numbers, exact beyond 2^53 (file sizes), thousands separated.
QString FormatIntegerN(qint64 value, const TFormatSettings& settings = FixedFormatSettings());
// The value with exactly `decimals` decimals (0..18) and no thousands separators.
QString FormatNumberF(double value, int decimals, const TFormatSettings& settings);

// Kilobytes rounded up, for file lists: 1..1024 bytes give "1 KB"; 0 bytes or a missing
// file (size -1) give "0 KB".
QString SizeInKilobytesText(qint64 size);
// Exact: "1 byte", "12,345 bytes". Short: GB, MB or KB with `precision` decimals in the user's
// number format from 1024 bytes on, the exact text below that.
QString ShortOrExactSizeText(bool exact, int precision, qint64 size);

// Raised when a text is not a number.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "75%", " 75 " and "75 %" give 75. Decimals may use the user's separator or ".".
// Raises EConvertError for anything else (including an empty text, NaN and infinities).
double PercentageTextToNumber(const QString& text);

} // namespace support
