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
    QString label = text;
    label.replace(QLatin1String("\r\n"), QLatin1String("\t"));
    label.replace(QLatin1Char('\n'), QLatin1Char('\t'));
    label.replace(QLatin1Char('\r'), QLatin1Char('\t'));
    return label.toStdString();
}

QString numberText(double value)
{
    return QString::fromStdString(formatGeneral(value, 15));
}

} // namespace orvane
