#include "dialogs/dialog_text.h"

#include "model/number_text.h"

namespace orvane {

QString labelTextForBox(const std::string& label)
{
    QString text = QString::fromStdString(label);
    text.replace(QLatin1Char('\t'), QLatin1Char('\n'));
    return text;
}

std::string labelFromBox(const QString& text)
{
    // A multi-line box gives its lines with LF between them, whatever was typed or pasted.
    QString label = text;
    label.replace(QLatin1Char('\n'), QLatin1Char('\t'));
    return label.toStdString();
}

QString numberText(double value)
{
    return QString::fromStdString(formatGeneral(value, 15));
}

} // namespace orvane
