#include "dialogs/fec_carrier_dialog.h"

#include "dialogs/carrier_form.h"
#include "dialogs/dialog_text.h"
#include "dialogs/help_request.h"
#include "model/coding_tables.h"
#include "model/rounding.h"

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

#include <algorithm>
#include <cmath>

namespace orvane {

namespace {
const char* const modulationProblemText = "Please choose a modulation.";
const char* const fecProblemText = "The FEC rate must be greater than 0.";
const char* const ratioProblemText = "The Reed-Solomon ratio must be greater than 0.";
const char* const rolloffProblemText = "The IF filter roll-off must be greater than -100 %.";
const char* const rateProblemText = "These values give a rate too large to calculate.";

unsigned wholeCount(double value)
{
    return static_cast<unsigned>(std::max(0, roundHalfUp(value)));
}

QLineEdit* makeCodeBox(QWidget* parent, const QString& objectName)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(objectName);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    return box;
}
} // namespace

FecCarrierDialog::FecCarrierDialog(Carrier& carrier, QWidget* parent)
    : HelpKeyDialog(helpKey::fecCarrier, parent), carrier_(carrier)
{
    buildForm();
    loadFromCarrier();
}

void FecCarrierDialog::buildForm()
{
    setWindowTitle(QStringLiteral("Carrier : FEC & Modulation Calculation"));

    labelBox_ = makeLabelBox(this);
    centreBox_ = makeNumberBox(this, QStringLiteral("editCentreFrequency"));
    powerBox_ = makeNumberBox(this, QStringLiteral("editPower"));
    dataRateRadio_ = new QRadioButton(QStringLiteral("Data Rate :"), this);
    dataRateRadio_->setObjectName(QStringLiteral("radioDataRate"));
    dataRateBox_ = makeNumberBox(this, QStringLiteral("editDataRate"));
    overheadsBox_ = makeNumberBox(this, QStringLiteral("editOverheads"));
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
    reedSolomonCheck_ = new QCheckBox(QStringLiteral("Reed-Solomon :"), this);
    reedSolomonCheck_->setObjectName(QStringLiteral("checkReedSolomon"));
    rsNBox_ = makeCodeBox(this, QStringLiteral("editRsN"));
    rsKBox_ = makeCodeBox(this, QStringLiteral("editRsK"));
    ratioBox_ = makeNumberBox(this, QStringLiteral("editRsRatio"));
    ratioBox_->setFixedWidth(
        ratioBox_->fontMetrics().horizontalAdvance(QStringLiteral("1.0851063829")) + 12);
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
    form->addWidget(makeText(this, QStringLiteral("Overheads :")), 2, 4);
    form->addWidget(overheadsBox_, 2, 5);
    form->addWidget(makeText(this, QStringLiteral("kbps")), 2, 6);

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
    auto* codeRow = new QHBoxLayout;
    codeRow->setSpacing(2);
    codeRow->addWidget(makeText(this, QStringLiteral("RS(")));
    codeRow->addWidget(rsNBox_);
    codeRow->addWidget(makeText(this, QStringLiteral(",")));
    codeRow->addWidget(rsKBox_);
    codeRow->addWidget(makeText(this, QStringLiteral(")  =")));
    codeRow->addWidget(ratioBox_, 1);
    form->addWidget(reedSolomonCheck_, 4, 4);
    form->addLayout(codeRow, 4, 5, 1, 2);

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
    setTabOrder(dataRateBox_, overheadsBox_);
    setTabOrder(overheadsBox_, symbolRateRadio_);
    setTabOrder(symbolRateRadio_, symbolRateBox_);
    setTabOrder(symbolRateBox_, modulationList_);
    setTabOrder(modulationList_, fecList_);
    setTabOrder(fecList_, fecValueBox_);
    setTabOrder(fecValueBox_, reedSolomonCheck_);
    setTabOrder(reedSolomonCheck_, rsNBox_);
    setTabOrder(rsNBox_, rsKBox_);
    setTabOrder(rsKBox_, ratioBox_);
    setTabOrder(ratioBox_, rolloffBox_);
    setTabOrder(rolloffBox_, bandwidthBox_);

    for (QLineEdit* box : {dataRateBox_, symbolRateBox_, overheadsBox_, fecValueBox_, rolloffBox_})
        connect(box, &QLineEdit::textChanged, this, &FecCarrierDialog::numberTextChanged);
    connect(modulationList_, &QComboBox::currentIndexChanged, this,
            &FecCarrierDialog::modulationChosen);
    connect(fecList_, &QComboBox::currentIndexChanged, this, &FecCarrierDialog::fecChosen);
    connect(reedSolomonCheck_, &QCheckBox::toggled, this, &FecCarrierDialog::reedSolomonClicked);
    connect(rsNBox_, &QLineEdit::textChanged, this, &FecCarrierDialog::rsNTextChanged);
    connect(rsKBox_, &QLineEdit::textChanged, this, &FecCarrierDialog::rsKTextChanged);
    connect(ratioBox_, &QLineEdit::textChanged, this, &FecCarrierDialog::ratioTextChanged);
    connect(dataRateRadio_, &QRadioButton::toggled, this, &FecCarrierDialog::inputChosen);
}

void FecCarrierDialog::loadFromCarrier()
{
    QScopedValueRollback<bool> guard(writing_, true);
    int modulationOrder = 0;
    double rsN = 1.0;
    double rsK = 1.0;
    double rolloffFactor = 0.0;
    dataRateIsInput_ = carrier_.isSymbolRateGiven() != 1;
    if (dataRateIsInput_)
        carrier_.getFecByDataRate(centreMhz_, dataRateKbps_, overheadKbps_, modulationOrder,
                                  fecValue_, rsN, rsK, powerDbw_, rolloffFactor);
    else
        carrier_.getFecBySymbolRate(centreMhz_, symbolRateKsps_, overheadKbps_, modulationOrder,
                                    fecValue_, rsN, rsK, powerDbw_, rolloffFactor);
    // The rate that is not the input starts from the carrier, in case it cannot be computed.
    if (dataRateIsInput_)
        symbolRateKsps_ = carrier_.symbolRateKsps;
    else
        dataRateKbps_ = carrier_.dataRateKbps;
    bandwidthMhz_ = carrier_.occupiedBandwidthMhz;
    for (double* value : {&centreMhz_, &dataRateKbps_, &symbolRateKsps_, &overheadKbps_, &fecValue_,
                          &powerDbw_, &bandwidthMhz_})
        *value = finiteOrZero(*value);

    rolloffPercent_ = rolloffPercentFromFactor(rolloffFactor);
    bitsPerSymbolShown_ = bitsPerSymbol(modulationOrder);
    modulationPosition_ = modulationPosition(modulationOrder);
    rsRatio_ = finiteOrZero(rsN / rsK);
    if (rsK > 1.0) {
        rsNValue_ = wholeCount(rsN);
        rsKValue_ = wholeCount(rsK);
    }
    fecPosition_ = fecRateIndex(fecValue_);
    if (fecPosition_ < 0)
        fecPosition_ = fecOtherPosition;
    fecValueBox_->setEnabled(fecPosition_ == fecOtherPosition);
    labelBox_->setPlainText(labelTextForBox(carrier_.label));
    reedSolomonOn_ = std::fabs(rsRatio_ - 1.0) > 0.00001;
    (dataRateIsInput_ ? dataRateRadio_ : symbolRateRadio_)->setChecked(true);

    recalculate();
    showValues();
    enableRateBoxes();
    applyReedSolomonCheck();
}

void FecCarrierDialog::read(FieldReader& reader)
{
    reader.number(centreBox_, centreMhz_);
    reader.number(powerBox_, powerDbw_);
    reader.number(dataRateBox_, dataRateKbps_);
    reader.number(overheadsBox_, overheadKbps_);
    reader.number(symbolRateBox_, symbolRateKsps_);
    modulationPosition_ = modulationList_->currentIndex();
    fecPosition_ = fecList_->currentIndex();
    reader.number(fecValueBox_, fecValue_);
    reedSolomonOn_ = reedSolomonCheck_->isChecked();
    rsNText_ = rsNBox_->text();
    rsKText_ = rsKBox_->text();
    reader.number(ratioBox_, rsRatio_);
    reader.integer(rolloffBox_, rolloffPercent_);
    reader.number(bandwidthBox_, bandwidthMhz_);
    unreadable_.assign(reader);
}

void FecCarrierDialog::showValues()
{
    const std::pair<QLineEdit*, double> numbers[] = {{centreBox_, centreMhz_},
                                                     {powerBox_, powerDbw_},
                                                     {dataRateBox_, dataRateKbps_},
                                                     {overheadsBox_, overheadKbps_},
                                                     {symbolRateBox_, symbolRateKsps_},
                                                     {fecValueBox_, fecValue_},
                                                     {ratioBox_, rsRatio_},
                                                     {bandwidthBox_, bandwidthMhz_}};
    for (const auto& [box, value] : numbers)
        if (!unreadable_.contains(box))
            showNumber(box, value);
    if (!unreadable_.contains(rolloffBox_))
        showInteger(rolloffBox_, rolloffPercent_);
    if (modulationList_->currentIndex() != modulationPosition_)
        modulationList_->setCurrentIndex(modulationPosition_);
    if (fecList_->currentIndex() != fecPosition_)
        fecList_->setCurrentIndex(fecPosition_);
    if (reedSolomonCheck_->isChecked() != reedSolomonOn_)
        reedSolomonCheck_->setChecked(reedSolomonOn_);
    showText(rsNBox_, rsNText_);
    showText(rsKBox_, rsKText_);
}

void FecCarrierDialog::recalculate()
{
    if (dataRateIsInput_)
        symbolRateFromDataRate();
    else
        dataRateFromSymbolRate();
}

bool FecCarrierDialog::symbolRateFromDataRate()
{
    bitsPerSymbolShown_ = modulationPosition_ + 1;
    const double factor = rolloffPercent_ * 0.01 + 1.0;
    for (const QLineEdit* box : {overheadsBox_, dataRateBox_, fecValueBox_, ratioBox_, rolloffBox_})
        if (unreadable_.contains(box))
            return false;
    if (modulationPosition_ < 0 || fecValue_ <= 0.0 || rsRatio_ <= 0.0 || factor <= 0.0)
        return false;
    const double symbolRate = roundToDecimals(
        ((overheadKbps_ + dataRateKbps_) / fecValue_ * rsRatio_) / bitsPerSymbolShown_, 3);
    const double bandwidth = roundToDecimals(symbolRate * 0.001 * factor, 4);
    if (!std::isfinite(symbolRate) || !std::isfinite(bandwidth))
        return false;
    symbolRateKsps_ = symbolRate;
    bandwidthMhz_ = bandwidth;
    unreadable_.markWritten(symbolRateBox_);
    unreadable_.markWritten(bandwidthBox_);
    return true;
}

bool FecCarrierDialog::dataRateFromSymbolRate()
{
    bitsPerSymbolShown_ = modulationPosition_ + 1;
    const double factor = rolloffPercent_ * 0.01 + 1.0;
    for (const QLineEdit* box :
         {overheadsBox_, symbolRateBox_, fecValueBox_, ratioBox_, rolloffBox_})
        if (unreadable_.contains(box))
            return false;
    if (modulationPosition_ < 0 || fecValue_ <= 0.0 || rsRatio_ <= 0.0 || factor <= 0.0)
        return false;
    const double bandwidth = roundToDecimals(symbolRateKsps_ * 0.001 * factor, 4);
    const double dataRate = roundToDecimals(
        bitsPerSymbolShown_ * symbolRateKsps_ / rsRatio_ * fecValue_ - overheadKbps_, 3);
    if (!std::isfinite(dataRate) || !std::isfinite(bandwidth))
        return false;
    dataRateKbps_ = dataRate;
    bandwidthMhz_ = bandwidth;
    unreadable_.markWritten(dataRateBox_);
    unreadable_.markWritten(bandwidthBox_);
    return true;
}

void FecCarrierDialog::enableRateBoxes()
{
    dataRateBox_->setEnabled(dataRateIsInput_);
    symbolRateBox_->setEnabled(!dataRateIsInput_);
}

void FecCarrierDialog::setRatio(double ratio)
{
    rsRatio_ = ratio;
    unreadable_.markWritten(ratioBox_);
}

void FecCarrierDialog::applyReedSolomonCheck()
{
    FieldReader reader(this, FieldReader::Mode::live);
    read(reader);
    for (QLineEdit* box : {ratioBox_, rsNBox_, rsKBox_})
        box->setEnabled(reedSolomonOn_);
    if (reedSolomonOn_) {
        if (rsNValue_ > 0 && rsKValue_ > 0) {
            rsNText_ = QString::number(rsNValue_);
            rsKText_ = QString::number(rsKValue_);
            setRatio(roundToDecimals(static_cast<double>(rsNValue_) / rsKValue_, 6));
            rsValuesKnown_ = true;
        }
    } else {
        // n and k stay remembered, so checking again restores them.
        setRatio(1.0);
        rsNText_.clear();
        rsKText_.clear();
    }
    recalculate();
    showValues();
}

void FecCarrierDialog::rsCodeTextChanged(bool forN)
{
    QString& text = forN ? rsNText_ : rsKText_;
    unsigned& value = forN ? rsNValue_ : rsKValue_;
    QString& otherText = forN ? rsKText_ : rsNText_;
    const unsigned& otherValue = forN ? rsKValue_ : rsNValue_;

    const QString before = text;
    FieldReader reader(this, FieldReader::Mode::live);
    read(reader);
    if (text == before)
        return;
    const int typed = leadingInteger(text);
    if (typed > 0) {
        rsValuesKnown_ = true;
        value = static_cast<unsigned>(typed);
        text = QString::number(value);
        if (otherValue > 0) {
            otherText = QString::number(otherValue);
            setRatio(roundToDecimals(static_cast<double>(rsNValue_) / rsKValue_, 6));
        } else {
            otherText.clear();
            setRatio(1.0);
        }
    } else {
        if (rsValuesKnown_) {
            setRatio(1.0);
            rsValuesKnown_ = false;
        }
        text.clear();
        value = 0;
    }
    recalculate();
    showValues();
}

void FecCarrierDialog::numberTextChanged()
{
    if (writing_)
        return;
    QScopedValueRollback<bool> guard(writing_, true);
    FieldReader reader(this, FieldReader::Mode::live);
    read(reader);
    recalculate();
    showValues();
}

void FecCarrierDialog::modulationChosen()
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

void FecCarrierDialog::fecChosen()
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

void FecCarrierDialog::reedSolomonClicked()
{
    if (writing_)
        return;
    QScopedValueRollback<bool> guard(writing_, true);
    applyReedSolomonCheck();
}

void FecCarrierDialog::rsNTextChanged()
{
    if (writing_)
        return;
    QScopedValueRollback<bool> guard(writing_, true);
    rsCodeTextChanged(true);
}

void FecCarrierDialog::rsKTextChanged()
{
    if (writing_)
        return;
    QScopedValueRollback<bool> guard(writing_, true);
    rsCodeTextChanged(false);
}

void FecCarrierDialog::ratioTextChanged()
{
    if (writing_)
        return;
    QScopedValueRollback<bool> guard(writing_, true);
    const double before = rsRatio_;
    FieldReader reader(this, FieldReader::Mode::live);
    read(reader);
    if (rsRatio_ == before)
        return;
    rsValuesKnown_ = false;
    rsNText_.clear();
    rsKText_.clear();
    rsNValue_ = 0;
    rsKValue_ = 0;
    recalculate();
    showValues();
}

void FecCarrierDialog::inputChosen(bool dataRateChosen)
{
    if (writing_)
        return;
    dataRateIsInput_ = dataRateChosen;
    enableRateBoxes();
}

void FecCarrierDialog::accept()
{
    QScopedValueRollback<bool> guard(writing_, true);
    FieldReader reader(this, FieldReader::Mode::validating);
    read(reader);
    const double factor = rolloffPercent_ * 0.01 + 1.0;
    reader.require(modulationPosition_ >= 0, modulationList_,
                   QString::fromLatin1(modulationProblemText));
    reader.require(fecValue_ > 0.0,
                   fecPosition_ == fecOtherPosition ? static_cast<QWidget*>(fecValueBox_)
                                                    : fecList_,
                   QString::fromLatin1(fecProblemText));
    reader.require(!reedSolomonOn_ || rsRatio_ > 0.0, ratioBox_,
                   QString::fromLatin1(ratioProblemText));
    reader.require(factor > 0.0, rolloffBox_, QString::fromLatin1(rolloffProblemText));
    if (!reader.ok())
        return;

    bitsPerSymbolShown_ = modulationPosition_ + 1;
    const int modulationOrder =
        static_cast<int>(powerOfTwo(static_cast<unsigned>(bitsPerSymbolShown_)));
    double rsN = 1.0;
    double rsK = 1.0;
    if (reedSolomonOn_) {
        if (rsValuesKnown_ && rsNValue_ > 1 && rsKValue_ > 1) {
            rsN = rsNValue_;
            rsK = rsKValue_;
        } else {
            rsN = rsRatio_;
        }
    }
    Carrier rebuilt = carrier_;
    if (dataRateIsInput_)
        rebuilt.setFecFromDataRate(centreMhz_, dataRateKbps_, overheadKbps_, modulationOrder,
                                   fecValue_, rsN, rsK, powerDbw_, factor);
    else
        rebuilt.setFecFromSymbolRate(centreMhz_, symbolRateKsps_, overheadKbps_, modulationOrder,
                                     fecValue_, rsN, rsK, powerDbw_, factor);
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
