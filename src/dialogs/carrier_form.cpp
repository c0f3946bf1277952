#include "dialogs/carrier_form.h"

#include "model/coding_tables.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include <algorithm>

namespace orvane {

QLineEdit* makeNumberBox(QWidget* parent, const QString& objectName)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(objectName);
    box->setMinimumWidth(
        box->fontMetrics().horizontalAdvance(QStringLiteral("-0.00000000000000e-00")));
    return box;
}

QLineEdit* makeRolloffBox(QWidget* parent)
{
    QLineEdit* box = makeNumberBox(parent, QStringLiteral("editRolloff"));
    box->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
    return box;
}

QLineEdit* makeCodeBox(QWidget* parent, const QString& objectName)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(objectName);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    return box;
}

QPlainTextEdit* makeLabelBox(QWidget* parent)
{
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(QStringLiteral("editLabel"));
    box->setTabChangesFocus(true);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    const int lineHeight = box->fontMetrics().lineSpacing();
    box->setFixedHeight(lineHeight * 3 + 2 * box->frameWidth() + 8);
    return box;
}

QLabel* makeText(QWidget* parent, const QString& text)
{
    return new QLabel(text, parent);
}

void fillModulationList(QComboBox* list)
{
    list->clear();
    for (const std::string_view name : modulationNames)
        list->addItem(QString::fromLatin1(name.data(), static_cast<int>(name.size())));
}

void fillFecList(QComboBox* list)
{
    list->clear();
    for (const std::string_view name : fecRateNames)
        list->addItem(QString::fromLatin1(name.data(), static_cast<int>(name.size())));
    list->addItem(QString::fromLatin1(fecOtherName.data(), static_cast<int>(fecOtherName.size())));
}

void balanceBoxColumns(QGridLayout* form, int leftColumn, int rightColumn)
{
    QWidget* dialog = form->parentWidget();
    if (dialog && dialog->layout())
        dialog->layout()->activate();
    const int width =
        std::max(form->cellRect(1, leftColumn).width(), form->cellRect(1, rightColumn).width());
    form->setColumnMinimumWidth(leftColumn, width);
    form->setColumnMinimumWidth(rightColumn, width);
    form->invalidate();
}

QDialogButtonBox* makeOkCancelButtons(QWidget* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("buttonOk"));
    ok->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("buttonCancel"));
    if (auto* asDialog = qobject_cast<QDialog*>(dialog)) {
        QObject::connect(buttons, &QDialogButtonBox::accepted, asDialog, &QDialog::accept);
        QObject::connect(buttons, &QDialogButtonBox::rejected, asDialog, &QDialog::reject);
    }
    return buttons;
}

} // namespace orvane
