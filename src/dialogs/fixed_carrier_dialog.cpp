#include "dialogs/fixed_carrier_dialog.h"

#include "dialogs/carrier_form.h"
#include "dialogs/dialog_text.h"
#include "dialogs/help_request.h"
#include "model/rounding.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

#include <cmath>

namespace orvane {

namespace {
const char* const rolloffProblemText = "The IF filter roll-off must be greater than -100 %.";
const char* const rateProblemText = "These values give a rate too large to calculate.";
} // namespace

FixedCarrierDialog::FixedCarrierDialog(Carrier& carrier, QWidget* parent)
    : HelpKeyDialog(helpKey::fixedCarrier, parent), carrier_(carrier)
{
    buildForm();
    loadFromCarrier();
}

void FixedCarrierDialog::buildForm()
{
    setWindowTitle(QStringLiteral("Carrier : Fixed Bandwidth or SymbolRate"));

    labelBox_ = makeLabelBox(this);
    centreBox_ = makeNumberBox(this, QStringLiteral("editCentreFrequency"));
    symbolRateRadio_ = new QRadioButton(QStringLiteral("Symbol Rate :"), this);
    symbolRateRadio_->setObjectName(QStringLiteral("radioSymbolRate"));
    symbolRateBox_ = makeNumberBox(this, QStringLiteral("editSymbolRate"));
    bandwidthRadio_ = new QRadioButton(QStringLiteral("Occupied Bandwidth :"), this);
    bandwidthRadio_->setObjectName(QStringLiteral("radioBandwidth"));
    bandwidthBox_ = makeNumberBox(this, QStringLiteral("editBandwidth"));
    powerBox_ = makeNumberBox(this, QStringLiteral("editPower"));
    rolloffBox_ = makeRolloffBox(this);

    auto* form = new QGridLayout;
    form->setColumnStretch(1, 1);
    QLabel* labelCaption = makeText(this, QStringLiteral("Carrier Label :"));
    form->addWidget(labelCaption, 0, 0, Qt::AlignTop);
    form->addWidget(labelBox_, 0, 1, 1, 2);
    form->addWidget(makeText(this, QStringLiteral("Centre Frequency :")), 1, 0);
    form->addWidget(centreBox_, 1, 1);
    form->addWidget(makeText(this, QStringLiteral("MHz")), 1, 2);
    form->addWidget(symbolRateRadio_, 2, 0);
    form->addWidget(symbolRateBox_, 2, 1);
    form->addWidget(makeText(this, QStringLiteral("kSps")), 2, 2);
    form->addWidget(bandwidthRadio_, 3, 0);
    form->addWidget(bandwidthBox_, 3, 1);
    form->addWidget(makeText(this, QStringLiteral("MHz")), 3, 2);
    form->addWidget(makeText(this, QStringLiteral("Power Level :")), 4, 0);
    form->addWidget(powerBox_, 4, 1);
    form->addWidget(makeText(this, QStringLiteral("dBW")), 4, 2);
    form->addWidget(makeText(this, QStringLiteral("IF Filter Rolloff Factor :")), 5, 0);
    form->addWidget(rolloffBox_, 5, 1);
    form->addWidget(makeText(this, QStringLiteral("% (default 35%)")), 5, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(makeOkCancelButtons(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    for (QLineEdit* box : {bandwidthBox_, rolloffBox_, symbolRateBox_})
        connect(box, &QLineEdit::textChanged, this, &FixedCarrierDialog::rateTextChanged);
    connect(bandwidthRadio_, &QRadioButton::toggled, this, &FixedCarrierDialog::inputChosen);
}

void FixedCarrierDialog::loadFromCarrier()
{
    QScopedValueRollback<bool> guard(writing_, true);
    bandwidthIsInput_ = carrier_.isSymbolRateGiven() != 1;
    double rolloffFactor = 0.0;
    carrier_.getFixed(centreMhz_, bandwidthMhz_, powerDbw_, rolloffFactor);
    for (double* value : {&centreMhz_, &bandwidthMhz_, &powerDbw_})
        *value = finiteOrZero(*value);
    rolloffPercent_ = rolloffPercentFromFactor(rolloffFactor);
    labelBox_->setPlainText(labelTextForBox(carrier_.label));

    // The symbol rate shown follows from the bandwidth and the whole-percent roll-off.
    symbolRateKsps_ = finiteOrZero(carrier_.symbolRateKsps);
    const double factor = rolloffPercent_ * 0.01 + 1.0;
    if (factor > 0.0) {
        const double symbolRate = roundToDecimals(bandwidthMhz_ / factor * 1000.0, 3);
        if (std::isfinite(symbolRate))
            symbolRateKsps_ = symbolRate;
    }

    (bandwidthIsInput_ ? bandwidthRadio_ : symbolRateRadio_)->setChecked(true);
    showValues();
    FieldReader reader(this, FieldReader::Mode::live);
    read(reader);
    recalculate();
    showValues();
    enableRateBoxes();
}

void FixedCarrierDialog::read(FieldReader& reader)
{
    reader.number(centreBox_, centreMhz_);
    reader.number(symbolRateBox_, symbolRateKsps_);
    reader.number(bandwidthBox_, bandwidthMhz_);
    reader.number(powerBox_, powerDbw_);
    reader.integer(rolloffBox_, rolloffPercent_);
    unreadable_.assign(reader);
}

void FixedCarrierDialog::showValues()
{
    const std::pair<QLineEdit*, double> numbers[] = {{centreBox_, centreMhz_},
                                                     {symbolRateBox_, symbolRateKsps_},
                                                     {bandwidthBox_, bandwidthMhz_},
                                                     {powerBox_, powerDbw_}};
    for (const auto& [box, value] : numbers)
        if (!unreadable_.contains(box))
            showNumber(box, value);
    if (!unreadable_.contains(rolloffBox_))
        showInteger(rolloffBox_, rolloffPercent_);
}

void FixedCarrierDialog::recalculate()
{
    const double factor = rolloffPercent_ * 0.01 + 1.0;
    QLineEdit* input = bandwidthIsInput_ ? bandwidthBox_ : symbolRateBox_;
    if (unreadable_.contains(rolloffBox_) || unreadable_.contains(input) || factor <= 0.0)
        return;
    if (bandwidthIsInput_) {
        const double symbolRate = roundToDecimals(bandwidthMhz_ / factor * 1000.0, 3);
        if (!std::isfinite(symbolRate))
            return;
        symbolRateKsps_ = symbolRate;
        unreadable_.markWritten(symbolRateBox_);
    } else {
        const double bandwidth = factor * (symbolRateKsps_ * 0.001);
        if (!std::isfinite(bandwidth))
            return;
        bandwidthMhz_ = bandwidth;
        unreadable_.markWritten(bandwidthBox_);
    }
}

void FixedCarrierDialog::enableRateBoxes()
{
    symbolRateBox_->setEnabled(!bandwidthIsInput_);
    bandwidthBox_->setEnabled(bandwidthIsInput_);
}

void FixedCarrierDialog::rateTextChanged()
{
    if (writing_)
        return;
    QScopedValueRollback<bool> guard(writing_, true);
    FieldReader reader(this, FieldReader::Mode::live);
    read(reader);
    recalculate();
    showValues();
}

void FixedCarrierDialog::inputChosen(bool bandwidthChosen)
{
    if (writing_)
        return;
    bandwidthIsInput_ = bandwidthChosen;
    enableRateBoxes();
}

void FixedCarrierDialog::accept()
{
    QScopedValueRollback<bool> guard(writing_, true);
    FieldReader reader(this, FieldReader::Mode::validating);
    read(reader);
    const double factor = rolloffPercent_ * 0.01 + 1.0;
    reader.require(factor > 0.0, rolloffBox_, QString::fromLatin1(rolloffProblemText));
    if (!reader.ok())
        return;
    recalculate();
    showValues();

    Carrier rebuilt = carrier_;
    if (bandwidthIsInput_)
        rebuilt.setFixedBandwidth(centreMhz_, bandwidthMhz_, powerDbw_, factor);
    else
        rebuilt.setFixedSymbolRate(centreMhz_, symbolRateKsps_, powerDbw_, factor);
    reader.require(
        std::isfinite(rebuilt.symbolRateKsps) && std::isfinite(rebuilt.occupiedBandwidthMhz),
        bandwidthIsInput_ ? bandwidthBox_ : symbolRateBox_, QString::fromLatin1(rateProblemText));
    if (!reader.ok())
        return;
    rebuilt.label = labelFromBox(labelBox_->toPlainText());
    carrier_ = rebuilt;
    QDialog::accept();
}

} // namespace orvane
