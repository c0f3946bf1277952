#include "dialogs/dialog_text.h"

#include "model/number_text.h"

#include <QLineEdit>

#include <cmath>
#include <limits>

namespace orvane {

QString labelTextForBox(const std::string& label)
{
    QString text = QString::fromStdString(label);
    text.replace(QLatin1Char('\t'), QLatin1Char('\n'));
    return text;
}

std::string labelFromBox(const QString& text)
{
    QString label = text;
    label.replace(QLatin1String("\r\n"), QLatin1String("\t"));
    label.replace(QLatin1Char('\n'), QLatin1Char('\t'));
    label.replace(QLatin1Char('\r'), QLatin1Char('\t'));
    return label.toStdString();
}

std::optional<double> readNumberText(const QString& text)
{
    double value = 0.0;
    if (!parseWholeNumber(text.toStdString(), value) || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> readIntegerText(const QString& text)
{
    const QString trimmed = text.trimmed();
    int position = 0;
    bool negative = false;
    if (position < trimmed.size() &&
        (trimmed[position] == QLatin1Char('+') || trimmed[position] == QLatin1Char('-'))) {
        negative = trimmed[position] == QLatin1Char('-');
        ++position;
    }
    if (position == trimmed.size())
        return std::nullopt;
    long long magnitude = 0;
    for (; position < trimmed.size(); ++position) {
        const QChar c = trimmed[position];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        magnitude = magnitude * 10 + (c.unicode() - '0');
        if (magnitude > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
            return std::nullopt;
    }
    const long long value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

int leadingInteger(const QString& text)
{
    int position = 0;
    while (position < text.size() && text[position].isSpace())
        ++position;
    bool negative = false;
    if (position < text.size() &&
        (text[position] == QLatin1Char('+') || text[position] == QLatin1Char('-'))) {
        negative = text[position] == QLatin1Char('-');
        ++position;
    }
    long long magnitude = 0;
    for (; position < text.size(); ++position) {
        const QChar c = text[position];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        magnitude = std::min<long long>(magnitude * 10 + (c.unicode() - '0'),
                                        std::numeric_limits<int>::max());
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

double finiteOrZero(double value)
{
    return std::isfinite(value) ? value : 0.0;
}

QString numberText(double value)
{
    return QString::fromStdString(formatGeneral(value, 15));
}

bool showNumber(QLineEdit* box, double value)
{
    const QString text = numberText(value);
    const std::optional<double> shown = readNumberText(box->text());
    const std::optional<double> written = readNumberText(text);
    if (shown && written && *shown == *written)
        return false;
    return showText(box, text);
}

bool showInteger(QLineEdit* box, int value)
{
    const std::optional<int> shown = readIntegerText(box->text());
    if (shown && *shown == value)
        return false;
    return showText(box, QString::number(value));
}

bool showText(QLineEdit* box, const QString& text)
{
    if (box->text() == text)
        return false;
    box->setText(text);
    return true;
}

} // namespace orvane
