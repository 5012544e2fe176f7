#include "SystemUtilsUnit.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace support {

namespace {

constexpr int kMaxDecimals = 18;
constexpr qint64 kKilobyte = 1024;
constexpr qint64 kMegabyte = 1048576;
constexpr qint64 kGigabyte = 1073741824;

int ClampDecimals(int decimals)
{
    return std::clamp(decimals, 0, kMaxDecimals);
}

// Inserts the separator every three digits of a run of ASCII digits.
QString GroupDigits(const QString& digits, const QString& separator)
{
    QString grouped;
    grouped.reserve(digits.size() + digits.size() / 3 * separator.size());
    const qsizetype first = digits.size() % 3 == 0 ? 3 : digits.size() % 3;
    grouped += digits.left(first);
    for (qsizetype i = first; i < digits.size(); i += 3) {
        grouped += separator;
        grouped += digits.mid(i, 3);
    }
    return grouped;
}

// Splits the locale-independent form "-1234.56" and puts it back together with the
// separators asked for.
QString Compose(const QString& plain, const TFormatSettings& settings, bool groupThousands)
{
    QString body = plain;
    QString sign;
    if (body.startsWith(QLatin1Char('-'))) {
        sign = QStringLiteral("-");
        body.remove(0, 1);
    }
    const qsizetype point = body.indexOf(QLatin1Char('.'));
    QString whole = point < 0 ? body : body.left(point);
    const QString fraction = point < 0 ? QString() : body.mid(point + 1);
    if (groupThousands)
        whole = GroupDigits(whole, settings.ThousandSeparator);
    // A value that rounds to zero is written without a sign, as "0" and not "-0".
    if (!sign.isEmpty() && std::all_of(plain.begin(), plain.end(),
                                       [](QChar c) { return !c.isDigit() || c == QLatin1Char('0'); }))
        sign.clear();
    return fraction.isEmpty() ? sign + whole : sign + whole + settings.DecimalSeparator + fraction;
}

QString PlainFixed(double value, int decimals)
{
    // QString::number ignores the locale, unlike printf after setlocale.
    return QString::number(value, 'f', ClampDecimals(decimals));
}

QString ExactSizeText(qint64 size)
{
    return FormatIntegerN(size) + (size == 1 ? QStringLiteral(" byte") : QStringLiteral(" bytes"));
}

bool IsTrimmed(QChar c)
{
    return c.unicode() <= 0x20 || c.isSpace() || c.category() == QChar::Other_Control;
}

QString TrimSpaceAndControls(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsTrimmed(text.at(begin)))
        ++begin;
    while (end > begin && IsTrimmed(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

const TFormatSettings& FixedFormatSettings()
{
    static const TFormatSettings fixed{QStringLiteral("."), QStringLiteral(",")};
    return fixed;
}

TFormatSettings UserFormatSettings()
{
    const QLocale locale;
    return {locale.decimalPoint(), locale.groupSeparator()};
}

QString FormatNumberN(double value, int decimals, const TFormatSettings& settings)
{
    if (!std::isfinite(value))
        return QString::number(value);
    return Compose(PlainFixed(value, decimals), settings, true);
}

QString FormatIntegerN(qint64 value, const TFormatSettings& settings)
{
    return Compose(QString::number(value), settings, true);
}

QString FormatNumberF(double value, int decimals, const TFormatSettings& settings)
{
    if (!std::isfinite(value))
        return QString::number(value);
    return Compose(PlainFixed(value, decimals), settings, false);
}

QString SizeInKilobytesText(qint64 size)
{
    if (size <= 0)
        return QStringLiteral("0 KB");
    return FormatIntegerN((size - 1) / kKilobyte + 1) + QStringLiteral(" KB");
}

QString ShortOrExactSizeText(bool exact, int precision, qint64 size)
{
    if (exact)
        return ExactSizeText(size);
    const TFormatSettings user = UserFormatSettings();
    const auto scaled = [&](qint64 unit, const char* suffix) {
        return FormatNumberF(static_cast<double>(size) / static_cast<double>(unit), precision, user) +
               QLatin1String(suffix);
    };
    if (size >= kGigabyte)
        return scaled(kGigabyte, " GB");
    if (size >= kMegabyte)
        return scaled(kMegabyte, " MB");
    if (size >= kKilobyte)
        return scaled(kKilobyte, " KB");
    return ExactSizeText(size);
}

double PercentageTextToNumber(const QString& text)
{
    QString number = TrimSpaceAndControls(text);
    if (number.endsWith(QLatin1Char('%')))
        number = TrimSpaceAndControls(number.chopped(1));

    bool ok = false;
    double value = QLocale().toDouble(number, &ok);
    if (!ok)
        value = QLocale::c().toDouble(number, &ok);
    if (!ok || !std::isfinite(value))
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text).toStdString());
    return value;
}

} // namespace support
