#include "dialogs/view_options.h"

#include "commands/help_request.h"
#include "dialogs/font_conversion.h"
#include "model/entry_text.h"
#include "model/number_text.h"
#include "model/program_identity.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

namespace orvane {

namespace {

QColor qtColour(Colour colour)
{
    return QColor(static_cast<int>(redOf(colour)), static_cast<int>(greenOf(colour)),
                  static_cast<int>(blueOf(colour)));
}

Colour colourOf(const QColor& colour)
{
    return rgbColour(static_cast<unsigned>(colour.red()), static_cast<unsigned>(colour.green()),
                     static_cast<unsigned>(colour.blue()));
}

std::optional<Colour> askColour(Colour current, QWidget* parent)
{
    const QColor chosen = QColorDialog::getColor(qtColour(current), parent);
    if (!chosen.isValid())
        return std::nullopt;
    return colourOf(chosen);
}

std::optional<FontDescription> askFont(const FontDescription& current, QWidget* parent)
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, qtFontFor(current), parent);
    if (!ok)
        return std::nullopt;
    double dotsPerInch = 96.0;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        dotsPerInch = screen->logicalDotsPerInchY();
    return descriptionOfChosenFont(chosen, current, dotsPerInch);
}

void replaceAll(std::string& text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

constexpr std::array<unsigned, 3> pageHelpKeys{helpKey::titleAndFrequencies, helpKey::colours,
                                               helpKey::fonts};

} // namespace

std::string titleForEditing(const std::string& storedTitle)
{
    std::string text = storedTitle;
    replaceAll(text, "\t", "\r\n");
    return text;
}

std::string titleFromEditing(const std::string& editedTitle)
{
    std::string text = editedTitle;
    replaceAll(text, "\r\n", "\t");
    replaceAll(text, "\n", "\t");
    return text;
}

CFreqProp::CFreqProp(QWidget* parent)
    : QWidget(parent), titleBox_(new QPlainTextEdit(this)), startBox_(new QLineEdit(this)),
      stopBox_(new QLineEdit(this)),
      labelEdgesBox_(new QCheckBox(QStringLiteral("Label Carrier Edge Frequencies "), this))
{
    showProblem = [this](const QString& text) {
        QMessageBox::warning(this, QString::fromLatin1(programCaption), text);
    };
    titleBox_->setTabChangesFocus(true);
    titleBox_->setMaximumHeight(90);

    auto* titleLabel = new QLabel(QStringLiteral("&Title for Display:"), this);
    titleLabel->setBuddy(titleBox_);
    auto* layout = new QGridLayout(this);
    layout->addWidget(titleLabel, 0, 0, 1, 3);
    layout->addWidget(titleBox_, 1, 0, 1, 3);
    layout->addWidget(new QLabel(QStringLiteral("View Start Frequency:"), this), 2, 0);
    layout->addWidget(startBox_, 2, 1);
    layout->addWidget(new QLabel(QStringLiteral("MHz"), this), 2, 2);
    layout->addWidget(new QLabel(QStringLiteral("View Stop Frequency:"), this), 3, 0);
    layout->addWidget(stopBox_, 3, 1);
    layout->addWidget(new QLabel(QStringLiteral("MHz"), this), 3, 2);
    layout->addWidget(labelEdgesBox_, 4, 0, 1, 3);
    layout->setRowStretch(5, 1);
}

void CFreqProp::setValues(double viewStartMhz, double viewStopMhz, const std::string& titleText,
                          bool labelEdges)
{
    viewStartMhz_ = viewStartMhz;
    viewStopMhz_ = viewStopMhz;
    titleText_ = titleText;
    labelEdges_ = labelEdges;
    QString shown = QString::fromStdString(titleText);
    shown.remove(QLatin1Char('\r'));
    titleBox_->setPlainText(shown);
    startBox_->setText(QString::fromStdString(formatGeneral(viewStartMhz)));
    stopBox_->setText(QString::fromStdString(formatGeneral(viewStopMhz)));
    labelEdgesBox_->setChecked(labelEdges);
}

bool CFreqProp::takeValues()
{
    // A saved plan keeps the view range only within the readers' limit.
    struct Entry {
        QLineEdit* box;
        const char* quantity;
        double value;
    };
    Entry entries[] = {{startBox_, "view start frequency", 0.0},
                       {stopBox_, "view stop frequency", 0.0}};
    for (Entry& entry : entries) {
        const std::optional<double> read = readEntryNumber(entry.box->text().toStdString());
        const bool fits = read && fitsInFile(*read);
        if (!fits) {
            showProblem(QString::fromStdString(read ? outsideFileRangeText(entry.quantity, "MHz")
                                                    : enterNumberText));
            entry.box->setFocus();
            entry.box->selectAll();
            return false;
        }
        entry.value = *read;
    }
    viewStartMhz_ = entries[0].value;
    viewStopMhz_ = entries[1].value;
    std::string title = titleBox_->toPlainText().toStdString();
    replaceAll(title, "\n", "\r\n");
    titleText_ = title;
    labelEdges_ = labelEdgesBox_->isChecked();
    return true;
}

CColourProp::CColourProp(QWidget* parent) : QWidget(parent), colourChooser(askColour)
{
    auto* frame = new QGroupBox(QStringLiteral("Colour Selection"), this);
    auto* grid = new QGridLayout(frame);
    const std::array<const char*, slotCount> names{"Background", "Title", "Axis", "Carriers",
                                                   "Labels"};
    for (int slot = 0; slot < slotCount; ++slot) {
        auto* button = new QPushButton(QString::fromLatin1(names[slot]), frame);
        auto* swatch = new QLabel(frame);
        swatch->setFrameShape(QFrame::Box);
        swatch->setMinimumSize(60, 22);
        swatch->setAutoFillBackground(true);
        swatches_[slot] = swatch;
        grid->addWidget(button, slot, 0);
        grid->addWidget(swatch, slot, 1);
        connect(button, &QPushButton::clicked, this,
                [this, slot] { chooseColour(static_cast<Slot>(slot)); });
        setColour(static_cast<Slot>(slot), colours_[slot]);
    }
    grid->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addStretch();
}

void CColourProp::setColour(Slot slot, Colour colour)
{
    colours_[slot] = colour;
    QPalette palette = swatches_[slot]->palette();
    palette.setColor(QPalette::Window, qtColour(colour));
    swatches_[slot]->setPalette(palette);
    swatches_[slot]->update();
}

void CColourProp::chooseColour(Slot slot)
{
    if (const auto chosen = colourChooser(colours_[slot], this))
        setColour(slot, *chosen);
}

CFontProp::CFontProp(QWidget* parent) : QWidget(parent), fontChooser(askFont)
{
    auto* frame = new QGroupBox(QStringLiteral("Font Selection"), this);
    auto* grid = new QGridLayout(frame);
    const std::array<const char*, slotCount> names{"Title", "Carrier Labels", "Axis Text",
                                                   "Frequencies"};
    const std::array<const char*, slotCount> samples{" Title", "Carrier", " Axis", "6000"};
    for (int slot = 0; slot < slotCount; ++slot) {
        auto* button = new QPushButton(QString::fromLatin1(names[slot]), frame);
        samples_[slot] = new QLabel(QString::fromLatin1(samples[slot]), frame);
        grid->addWidget(button, slot, 0, Qt::AlignVCenter);
        grid->addWidget(samples_[slot], slot, 1);
        connect(button, &QPushButton::clicked, this,
                [this, slot] { chooseFont(static_cast<Slot>(slot)); });
    }
    grid->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addStretch();
}

void CFontProp::setFonts(const std::array<FontDescription, slotCount>& fonts)
{
    fonts_ = fonts;
    for (int slot = 0; slot < slotCount; ++slot)
        samples_[slot]->setFont(qtFontFor(fonts_[slot]));
    fontsChanged_ = false;
}

void CFontProp::chooseFont(Slot slot)
{
    const auto chosen = fontChooser(fonts_[slot], this);
    if (!chosen)
        return;
    fonts_[slot] = *chosen;
    samples_[slot]->setFont(qtFontFor(*chosen));
    fontsChanged_ = true;
}

CNoApplySheet::CNoApplySheet(QWidget* parent, int firstPage)
    : QDialog(parent), tabs_(new QTabWidget(this)), freqPage_(new CFreqProp),
      colourPage_(new CColourProp), fontPage_(new CFontProp), lastPage_(firstPage)
{
    setWindowTitle(QStringLiteral("Orvane View Options"));
    tabs_->addTab(freqPage_, QStringLiteral("&Title && Frequencies"));
    tabs_->addTab(colourPage_, QStringLiteral("&Colours"));
    tabs_->addTab(fontPage_, QStringLiteral("&Fonts"));
    if (firstPage < 0 || firstPage >= tabs_->count())
        lastPage_ = 0;
    tabs_->setCurrentIndex(lastPage_);
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) { lastPage_ = index; });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CNoApplySheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CNoApplySheet::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this,
            [this] { requestHelp(pageHelpKeys[static_cast<std::size_t>(tabs_->currentIndex())]); });
}

void CNoApplySheet::accept()
{
    if (!freqPage_->takeValues()) {
        tabs_->setCurrentWidget(freqPage_);
        return;
    }
    QDialog::accept();
}

void loadViewOptions(CNoApplySheet& sheet, const DisplaySettings& settings)
{
    sheet.freqPage()->setValues(settings.viewStartMhz, settings.viewStopMhz,
                                titleForEditing(settings.titleText), settings.labelEdges);
    CColourProp& colours = *sheet.colourPage();
    colours.setColour(CColourProp::background, settings.backgroundColour);
    colours.setColour(CColourProp::title, settings.titleColour);
    colours.setColour(CColourProp::axis, settings.axisColour);
    colours.setColour(CColourProp::carriers, settings.carrierColour);
    colours.setColour(CColourProp::labels, settings.labelColour);
    sheet.fontPage()->setFonts(
        {settings.titleFont, settings.labelFont, settings.axisFont, settings.frequencyFont});
}

void applyViewOptions(const CNoApplySheet& sheet, DisplaySettings& settings)
{
    settings.lastOptionsPage = sheet.lastPage();
    const CFreqProp& frequencies = *sheet.freqPage();
    settings.viewStartMhz = frequencies.viewStartMhz();
    settings.viewStopMhz = frequencies.viewStopMhz();
    settings.labelEdges = frequencies.labelEdges();
    settings.titleText = titleFromEditing(frequencies.titleText());
    const CColourProp& colours = *sheet.colourPage();
    settings.backgroundColour = colours.colour(CColourProp::background);
    settings.titleColour = colours.colour(CColourProp::title);
    settings.axisColour = colours.colour(CColourProp::axis);
    settings.carrierColour = colours.colour(CColourProp::carriers);
    settings.labelColour = colours.colour(CColourProp::labels);
    const CFontProp& fonts = *sheet.fontPage();
    if (fonts.fontsChanged()) {
        const auto& chosen = fonts.fonts();
        settings.applyChosenFonts(chosen[CFontProp::title], chosen[CFontProp::labels],
                                  chosen[CFontProp::axis], chosen[CFontProp::frequencies]);
    }
}

bool runViewOptions(QWidget* parent, DisplaySettings& settings)
{
    CNoApplySheet sheet(parent, settings.lastOptionsPage);
    loadViewOptions(sheet, settings);
    if (sheet.exec() != QDialog::Accepted)
        return false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    applyViewOptions(sheet, settings);
    QApplication::restoreOverrideCursor();
    return true;
}

} // namespace orvane
