#include "dialogs/spectral_carrier_dialog.h"

#include "dialogs/carrier_form.h"
#include "dialogs/dialog_text.h"
#include "dialogs/help_request.h"
#include "model/coding_tables.h"
#include "model/rounding.h"

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

#include <cmath>

namespace orvane {

namespace {
const char* const modulationProblemText = "Please choose a modulation.";
const char* const fecProblemText = "The FEC rate must be greater than 0.";
const char* const efficiencyProblemText = "The spectral efficiency must be greater than 0.";
const char* const rolloffProblemText = "The IF filter roll-off must be greater than -100 %.";
const char* const rateProblemText = "These values give a rate too large to calculate.";

} // namespace

SpectralCarrierDialog::SpectralCarrierDialog(Carrier& carrier, QWidget* parent)
    : HelpKeyDialog(helpKey::spectralCarrier, parent), carrier_(carrier)
{
    buildForm();
    loadFromCarrier();
}

void SpectralCarrierDialog::buildForm()
{
    setWindowTitle(QStringLiteral("Carrier : Spectral Efficiency Calculation"));

    labelBox_ = makeLabelBox(this);
    centreBox_ = makeNumberBox(this, QStringLiteral("editCentreFrequency"));
    powerBox_ = makeNumberBox(this, QStringLiteral("editPower"));
    dataRateRadio_ = new QRadioButton(QStringLiteral("Data Rate :"), this);
    dataRateRadio_->setObjectName(QStringLiteral("radioDataRate"));
    dataRateBox_ = makeNumberBox(this, QStringLiteral("editDataRate"));
    efficiencyBox_ = makeNumberBox(this, QStringLiteral("editSpectralEfficiency"));
    symbolRateRadio_ = new QRadioButton(QStringLiteral("Symbol Rate :"), this);
    symbolRateRadio_->setObjectName(QStringLiteral("radioSymbolRate"));
    symbolRateBox_ = makeNumberBox(this, QStringLiteral("editSymbolRate"));
    modulationList_ = new QComboBox(this);
    modulationList_->setObjectName(QStringLiteral("comboModulation"));
    fillModulationList(modulationList_);
    fecList_ = new QComboBox(this);
    fecList_->setObjectName(QStringLiteral("comboFec"));
    fillFecList(fecList_);
    fecValueBox_ = makeNumberBox(this, QStringLiteral("editFecValue"));
    fecValueBox_->setMinimumWidth(
        fecValueBox_->fontMetrics().horizontalAdvance(QStringLiteral("0.000000000")));
    overheadsBox_ = makeNumberBox(this, QStringLiteral("editOverheads"));
    overheadsBox_->setReadOnly(true);
    rolloffBox_ = makeRolloffBox(this);
    bandwidthBox_ = makeNumberBox(this, QStringLiteral("editBandwidth"));
    bandwidthBox_->setReadOnly(true);

    auto* form = new QGridLayout;
    form->setColumnMinimumWidth(3, 16);
    form->addWidget(makeText(this, QStringLiteral("Carrier Label :")), 0, 0, Qt::AlignTop);
    form->addWidget(labelBox_, 0, 1, 1, 6);

    form->addWidget(makeText(this, QStringLiteral("Centre Frequency :")), 1, 0);
    form->addWidget(centreBox_, 1, 1);
    form->addWidget(makeText(this, QStringLiteral("MHz")), 1, 2);
    form->addWidget(makeText(this, QStringLiteral("Power Level :")), 1, 4);
    form->addWidget(powerBox_, 1, 5);
    form->addWidget(makeText(this, QStringLiteral("dBW")), 1, 6);

    form->addWidget(dataRateRadio_, 2, 0);
    form->addWidget(dataRateBox_, 2, 1);
    form->addWidget(makeText(this, QStringLiteral("kbps")), 2, 2);
    form->addWidget(makeText(this, QStringLiteral("Spectral Efficiency :")), 2, 4);
    form->addWidget(efficiencyBox_, 2, 5);
    form->addWidget(makeText(this, QStringLiteral("bps/Hz")), 2, 6);

    form->addWidget(symbolRateRadio_, 3, 0);
    form->addWidget(symbolRateBox_, 3, 1);
    form->addWidget(makeText(this, QStringLiteral("kSps")), 3, 2);
    form->addWidget(makeText(this, QStringLiteral("Modulation :")), 3, 4);
    form->addWidget(modulationList_, 3, 5, 1, 2);

    auto* fecRow = new QHBoxLayout;
    fecRow->addWidget(fecList_);
    fecRow->addWidget(makeText(this, QStringLiteral("=")));
    fecRow->addWidget(fecValueBox_, 1);
    form->addWidget(makeText(this, QStringLiteral("FEC :")), 4, 0);
    form->addLayout(fecRow, 4, 1, 1, 2);
    form->addWidget(makeText(this, QStringLiteral("Overheads :")), 4, 4);
    form->addWidget(overheadsBox_, 4, 5);
    form->addWidget(makeText(this, QStringLiteral("kbps")), 4, 6);

    form->addWidget(makeText(this, QStringLiteral("IF Filter Rolloff Factor :")), 5, 0);
    form->addWidget(rolloffBox_, 5, 1);
    form->addWidget(makeText(this, QStringLiteral("% (default 35%)")), 5, 2);
    form->addWidget(makeText(this, QStringLiteral("Occupied Bandwidth :")), 5, 4);
    form->addWidget(bandwidthBox_, 5, 5);
    form->addWidget(makeText(this, QStringLiteral("MHz")), 5, 6);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(makeOkCancelButtons(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    balanceBoxColumns(form, 1, 5);

    setTabOrder(labelBox_, centreBox_);
    setTabOrder(centreBox_, powerBox_);
    setTabOrder(powerBox_, dataRateRadio_);
    setTabOrder(dataRateRadio_, dataRateBox_);
    setTabOrder(dataRateBox_, efficiencyBox_);
    setTabOrder(efficiencyBox_, symbolRateRadio_);
    setTabOrder(symbolRateRadio_, symbolRateBox_);
    setTabOrder(symbolRateBox_, modulationList_);
    setTabOrder(modulationList_, fecList_);
    setTabOrder(fecList_, fecValueBox_);
    setTabOrder(fecValueBox_, overheadsBox_);
    setTabOrder(overheadsBox_, rolloffBox_);
    setTabOrder(rolloffBox_, bandwidthBox_);

    for (QLineEdit* box : {symbolRateBox_, efficiencyBox_, rolloffBox_, dataRateBox_, fecValueBox_})
        connect(box, &QLineEdit::textChanged, this, &SpectralCarrierDialog::numberTextChanged);
    connect(modulationList_, &QComboBox::currentIndexChanged, this,
            &SpectralCarrierDialog::modulationChosen);
    connect(fecList_, &QComboBox::currentIndexChanged, this, &SpectralCarrierDialog::fecChosen);
    connect(dataRateRadio_, &QRadioButton::toggled, this, &SpectralCarrierDialog::inputChosen);
}

void SpectralCarrierDialog::loadFromCarrier()
{
    QScopedValueRollback<bool> guard(writing_, true);
    int modulationOrder = 0;
    double rolloffFactor = 0.0;
    dataRateIsInput_ = carrier_.isSymbolRateGiven() != 1;
    if (dataRateIsInput_) {
        carrier_.getSpectralByDataRate(centreMhz_, dataRateKbps_, spectralEfficiency_,
                                       modulationOrder, fecValue_, powerDbw_, rolloffFactor);
        symbolRateKsps_ = carrier_.symbolRateKsps;
    } else {
        carrier_.getSpectralBySymbolRate(centreMhz_, symbolRateKsps_, spectralEfficiency_,
                                         modulationOrder, fecValue_, powerDbw_, rolloffFactor);
        dataRateKbps_ = carrier_.dataRateKbps;
    }
    overheadKbps_ = carrier_.overheadKbps;
    bandwidthMhz_ = carrier_.occupiedBandwidthMhz;
    for (double* value : {&centreMhz_, &dataRateKbps_, &spectralEfficiency_, &symbolRateKsps_,
                          &fecValue_, &powerDbw_, &overheadKbps_, &bandwidthMhz_})
        *value = finiteOrZero(*value);

    rolloffPercent_ = rolloffPercentFromFactor(rolloffFactor);
    bitsPerSymbolShown_ = bitsPerSymbol(modulationOrder);
    modulationPosition_ = modulationPosition(modulationOrder);
    fecPosition_ = fecRateIndex(fecValue_);
    if (fecPosition_ < 0)
        fecPosition_ = fecOtherPosition;
    fecValueBox_->setEnabled(fecPosition_ == fecOtherPosition);
    labelBox_->setPlainText(labelTextForBox(carrier_.label));
    (dataRateIsInput_ ? dataRateRadio_ : symbolRateRadio_)->setChecked(true);

    recalculate();
    showValues();
    enableRateBoxes();
}

void SpectralCarrierDialog::read(FieldReader& reader)
{
    reader.number(centreBox_, centreMhz_);
    reader.number(powerBox_, powerDbw_);
    reader.number(dataRateBox_, dataRateKbps_);
    reader.number(efficiencyBox_, spectralEfficiency_);
    reader.number(symbolRateBox_, symbolRateKsps_);
    modulationPosition_ = modulationList_->currentIndex();
    fecPosition_ = fecList_->currentIndex();
    reader.number(fecValueBox_, fecValue_);
    reader.number(overheadsBox_, overheadKbps_);
    reader.integer(rolloffBox_, rolloffPercent_);
    reader.number(bandwidthBox_, bandwidthMhz_);
    unreadable_.assign(reader);
}

void SpectralCarrierDialog::showValues()
{
    const std::pair<QLineEdit*, double> numbers[] = {
        {centreBox_, centreMhz_},          {powerBox_, powerDbw_},
        {dataRateBox_, dataRateKbps_},     {efficiencyBox_, spectralEfficiency_},
        {symbolRateBox_, symbolRateKsps_}, {fecValueBox_, fecValue_},
        {overheadsBox_, overheadKbps_},    {bandwidthBox_, bandwidthMhz_}};
    for (const auto& [box, value] : numbers)
        if (!unreadable_.contains(box))
            showNumber(box, value);
    if (!unreadable_.contains(rolloffBox_))
        showInteger(rolloffBox_, rolloffPercent_);
    if (modulationList_->currentIndex() != modulationPosition_)
        modulationList_->setCurrentIndex(modulationPosition_);
    if (fecList_->currentIndex() != fecPosition_)
        fecList_->setCurrentIndex(fecPosition_);
}

void SpectralCarrierDialog::recalculate()
{
    // The rates and bandwidth, and the overheads, are two calculations: each is skipped when
    // a value it needs is missing or unusable, and its boxes then keep what they show.
    const double factor = rolloffPercent_ * 0.01 + 1.0;
    QLineEdit* input = dataRateIsInput_ ? dataRateBox_ : symbolRateBox_;
    if (!unreadable_.contains(input) && !unreadable_.contains(efficiencyBox_) &&
        !unreadable_.contains(rolloffBox_) && spectralEfficiency_ > 0.0 && factor > 0.0) {
        const double symbolRate =
            dataRateIsInput_ ? dataRateKbps_ / spectralEfficiency_ : symbolRateKsps_;
        const double dataRate =
            dataRateIsInput_ ? dataRateKbps_ : symbolRateKsps_ * spectralEfficiency_;
        const double bandwidth = roundToDecimals(symbolRate * 0.001 * factor, 4);
        if (std::isfinite(symbolRate) && std::isfinite(dataRate) && std::isfinite(bandwidth)) {
            symbolRateKsps_ = symbolRate;
            dataRateKbps_ = dataRate;
            bandwidthMhz_ = bandwidth;
            unreadable_.markWritten(dataRateIsInput_ ? symbolRateBox_ : dataRateBox_);
            unreadable_.markWritten(bandwidthBox_);
        }
    }

    bitsPerSymbolShown_ = modulationPosition_ + 1;
    if (modulationPosition_ >= 0 && !unreadable_.contains(fecValueBox_) &&
        !unreadable_.contains(dataRateBox_) && !unreadable_.contains(symbolRateBox_) &&
        fecValue_ > 0.0) {
        const double overheads = bitsPerSymbolShown_ * symbolRateKsps_ * fecValue_ - dataRateKbps_;
        if (std::isfinite(overheads)) {
            overheadKbps_ = overheads;
            unreadable_.markWritten(overheadsBox_);
        }
    }
}

void SpectralCarrierDialog::enableRateBoxes()
{
    dataRateBox_->setEnabled(dataRateIsInput_);
    symbolRateBox_->setEnabled(!dataRateIsInput_);
}

void SpectralCarrierDialog::numberTextChanged()
{
    if (writing_)
        return;
    QScopedValueRollback<bool> guard(writing_, true);
    FieldReader reader(this, FieldReader::Mode::live);
    read(reader);
    recalculate();
    showValues();
}

void SpectralCarrierDialog::modulationChosen()
{
    if (writing_)
        return;
    QScopedValueRollback<bool> guard(writing_, true);
    FieldReader reader(this, FieldReader::Mode::live);
    read(reader);
    bitsPerSymbolShown_ = modulationPosition_ + 1;
    recalculate();
    showValues();
}

void SpectralCarrierDialog::fecChosen()
{
    if (writing_)
        return;
    QScopedValueRollback<bool> guard(writing_, true);
    FieldReader reader(this, FieldReader::Mode::live);
    read(reader);
    applyFecChoice(fecPosition_, fecValueBox_, fecValue_, unreadable_);
    recalculate();
    showValues();
}

void SpectralCarrierDialog::inputChosen(bool dataRateChosen)
{
    if (writing_)
        return;
    dataRateIsInput_ = dataRateChosen;
    enableRateBoxes();
}

void SpectralCarrierDialog::accept()
{
    QScopedValueRollback<bool> guard(writing_, true);
    FieldReader reader(this, FieldReader::Mode::validating);
    read(reader);
    const double factor = rolloffPercent_ * 0.01 + 1.0;
    reader.require(spectralEfficiency_ > 0.0, efficiencyBox_,
                   QString::fromLatin1(efficiencyProblemText));
    reader.require(modulationPosition_ >= 0, modulationList_,
                   QString::fromLatin1(modulationProblemText));
    reader.require(fecValue_ > 0.0,
                   fecPosition_ == fecOtherPosition ? static_cast<QWidget*>(fecValueBox_)
                                                    : fecList_,
                   QString::fromLatin1(fecProblemText));
    reader.require(factor > 0.0, rolloffBox_, QString::fromLatin1(rolloffProblemText));
    if (!reader.ok())
        return;

    bitsPerSymbolShown_ = modulationPosition_ + 1;
    const int modulationOrder =
        static_cast<int>(powerOfTwo(static_cast<unsigned>(bitsPerSymbolShown_)));
    Carrier rebuilt = carrier_;
    if (dataRateIsInput_)
        rebuilt.setSpectralFromDataRate(centreMhz_, dataRateKbps_, spectralEfficiency_,
                                        modulationOrder, fecValue_, powerDbw_, factor);
    else
        rebuilt.setSpectralFromSymbolRate(centreMhz_, symbolRateKsps_, spectralEfficiency_,
                                          modulationOrder, fecValue_, powerDbw_, factor);
    reader.require(std::isfinite(rebuilt.symbolRateKsps) && std::isfinite(rebuilt.dataRateKbps) &&
                       std::isfinite(rebuilt.occupiedBandwidthMhz),
                   dataRateIsInput_ ? dataRateBox_ : symbolRateBox_,
                   QString::fromLatin1(rateProblemText));
    if (!reader.ok())
        return;
    rebuilt.label = labelFromBox(labelBox_->toPlainText());
    carrier_ = rebuilt;
    QDialog::accept();
}

} // namespace orvane
