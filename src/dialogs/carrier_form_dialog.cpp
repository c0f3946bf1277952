#include "dialogs/carrier_form_dialog.h"

#include "dialogs/carrier_form.h"
#include "dialogs/dialog_text.h"
#include "dialogs/entry_problem.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

namespace orvane {

namespace {
const char* const boxNames[formBoxCount] = {"editCentreFrequency",
                                            "editPower",
                                            "editDataRate",
                                            "editSymbolRate",
                                            "editBandwidth",
                                            "editOverheads",
                                            "editSpectralEfficiency",
                                            "editFecValue",
                                            "editRsRatio",
                                            "editRolloff",
                                            "editRsN",
                                            "editRsK"};

QLineEdit* makeBox(QWidget* dialog, FormField field)
{
    const QString name = QString::fromLatin1(boxNames[static_cast<std::size_t>(field)]);
    switch (field) {
    case FormField::rolloff:
        return makeRolloffBox(dialog);
    case FormField::rsN:
    case FormField::rsK:
        return makeCodeBox(dialog, name);
    default:
        break;
    }
    QLineEdit* box = makeNumberBox(dialog, name);
    if (field == FormField::fecValue)
        box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0.000000000")));
    if (field == FormField::rsRatio)
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("1.0851063829")) +
                           12);
    return box;
}
} // namespace

CarrierFormDialog::CarrierFormDialog(Carrier& carrier, CalcMode mode, unsigned helpKey,
                                     const QString& caption, QWidget* parent)
    : HelpKeyDialog(helpKey, parent), carrier_(carrier), model_(carrier, mode)
{
    setWindowTitle(caption);
    makeControls(mode);
}

void CarrierFormDialog::makeControls(CalcMode mode)
{
    labelBox_ = makeLabelBox(this);
    const bool fixed = mode == calcModeFixed;
    rateRadio_ = new QRadioButton(
        fixed ? QStringLiteral("Occupied Bandwidth :") : QStringLiteral("Data Rate :"), this);
    rateRadio_->setObjectName(fixed ? QStringLiteral("radioBandwidth")
                                    : QStringLiteral("radioDataRate"));
    symbolRateRadio_ = new QRadioButton(QStringLiteral("Symbol Rate :"), this);
    symbolRateRadio_->setObjectName(QStringLiteral("radioSymbolRate"));
    for (int index = 0; index < formBoxCount; ++index) {
        const auto field = static_cast<FormField>(index);
        if (!model_.has(field))
            continue;
        QLineEdit* box = makeBox(this, field);
        box->setReadOnly(model_.readOnly(field));
        boxes_[static_cast<std::size_t>(index)] = box;
    }
    if (model_.has(FormField::modulation)) {
        modulationList_ = new QComboBox(this);
        modulationList_->setObjectName(QStringLiteral("comboModulation"));
        fillModulationList(modulationList_);
        fecList_ = new QComboBox(this);
        fecList_->setObjectName(QStringLiteral("comboFec"));
        fillFecList(fecList_);
    }
    if (model_.has(FormField::rsRatio)) {
        reedSolomonCheck_ = new QCheckBox(QStringLiteral("Reed-Solomon :"), this);
        reedSolomonCheck_->setObjectName(QStringLiteral("checkReedSolomon"));
    }
}

void CarrierFormDialog::placeBox(QGridLayout* form, int row, int column, QWidget* caption,
                                 FormField field, const char* unit)
{
    form->addWidget(caption, row, column);
    form->addWidget(box(field), row, column + 1);
    form->addWidget(makeText(this, QString::fromLatin1(unit)), row, column + 2);
}

QGridLayout* CarrierFormDialog::makeCodedForm()
{
    auto* form = new QGridLayout;
    form->setColumnMinimumWidth(3, 16);
    form->addWidget(makeText(this, QStringLiteral("Carrier Label :")), 0, 0, Qt::AlignTop);
    form->addWidget(labelBox_, 0, 1, 1, 6);
    placeBox(form, 1, 0, makeText(this, QStringLiteral("Centre Frequency :")), FormField::centre,
             "MHz");
    placeBox(form, 1, 4, makeText(this, QStringLiteral("Power Level :")), FormField::power, "dBW");
    placeBox(form, 2, 0, rateRadio_, FormField::dataRate, "kbps");
    placeBox(form, 3, 0, symbolRateRadio_, FormField::symbolRate, "kSps");
    form->addWidget(makeText(this, QStringLiteral("Modulation :")), 3, 4);
    form->addWidget(modulationList_, 3, 5, 1, 2);

    auto* fecRow = new QHBoxLayout;
    fecRow->addWidget(fecList_);
    fecRow->addWidget(makeText(this, QStringLiteral("=")));
    fecRow->addWidget(box(FormField::fecValue), 1);
    form->addWidget(makeText(this, QStringLiteral("FEC :")), 4, 0);
    form->addLayout(fecRow, 4, 1, 1, 2);

    placeBox(form, 5, 0, makeText(this, QStringLiteral("IF Filter Rolloff Factor :")),
             FormField::rolloff, "% (default 35%)");
    placeBox(form, 5, 4, makeText(this, QStringLiteral("Occupied Bandwidth :")),
             FormField::bandwidth, "MHz");
    return form;
}

void CarrierFormDialog::finishForm(QGridLayout* form, std::initializer_list<QWidget*> tabOrder)
{
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(makeOkCancelButtons(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    if (modulationList_)
        balanceBoxColumns(form, 1, 5);
    QWidget* previous = nullptr;
    for (QWidget* next : tabOrder) {
        if (previous)
            setTabOrder(previous, next);
        previous = next;
    }
    showModel();
}

void CarrierFormDialog::showModel()
{
    QScopedValueRollback<bool> guard(writing_, true);
    for (int index = 0; index < formBoxCount; ++index)
        if (QLineEdit* shown = boxes_[static_cast<std::size_t>(index)])
            shown->setText(QString::fromStdString(model_.text(static_cast<FormField>(index))));
    labelBox_->setPlainText(labelTextForBox(carrier_.label));
    (model_.symbolRateIsInput() ? symbolRateRadio_ : rateRadio_)->setChecked(true);
    if (modulationList_) {
        modulationList_->setCurrentIndex(model_.modulationPosition());
        fecList_->setCurrentIndex(model_.fecPosition());
    }
    if (reedSolomonCheck_)
        reedSolomonCheck_->setChecked(model_.reedSolomonOn());
    enableBoxes();

    for (int index = 0; index < formBoxCount; ++index) {
        const auto field = static_cast<FormField>(index);
        if (QLineEdit* typedInto = box(field))
            connect(typedInto, &QLineEdit::textChanged, this, [this, field](const QString& text) {
                if (!writing_)
                    apply(model_.typed(field, text.toStdString()));
            });
    }
    connect(symbolRateRadio_, &QRadioButton::toggled, this, [this](bool chosen) {
        if (writing_)
            return;
        model_.inputChosen(chosen);
        enableBoxes();
    });
    if (modulationList_) {
        connect(modulationList_, &QComboBox::currentIndexChanged, this, [this](int position) {
            if (!writing_)
                apply(model_.modulationChosen(position));
        });
        connect(fecList_, &QComboBox::currentIndexChanged, this, [this](int position) {
            if (!writing_)
                apply(model_.fecChosen(position));
        });
    }
    if (reedSolomonCheck_)
        connect(reedSolomonCheck_, &QCheckBox::toggled, this, [this](bool on) {
            if (!writing_)
                apply(model_.reedSolomonTicked(on));
        });
}

void CarrierFormDialog::apply(const FormUpdate& update)
{
    QScopedValueRollback<bool> guard(writing_, true);
    for (const FormRewrite& rewrite : update.rewrites)
        box(rewrite.box)->setText(QString::fromStdString(rewrite.text));
    enableBoxes();
    if (update.focus)
        focusEntry(control(*update.focus));
}

void CarrierFormDialog::enableBoxes()
{
    for (int index = 0; index < formBoxCount; ++index)
        if (QLineEdit* shown = boxes_[static_cast<std::size_t>(index)])
            shown->setEnabled(model_.enabled(static_cast<FormField>(index)));
}

QWidget* CarrierFormDialog::control(FormField field) const
{
    if (field == FormField::modulation)
        return modulationList_;
    if (field == FormField::fec)
        return fecList_;
    return box(field);
}

void CarrierFormDialog::accept()
{
    FormAcceptance acceptance = model_.accept();
    apply(acceptance.update);
    if (acceptance.problem) {
        refuseEntry(this, control(acceptance.problem->field),
                    QString::fromStdString(acceptance.problem->message));
        return;
    }
    acceptance.carrier.label = labelFromBox(labelBox_->toPlainText());
    carrier_ = acceptance.carrier;
    QDialog::accept();
}

} // namespace orvane
