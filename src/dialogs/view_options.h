#pragma once

#include "display/display_settings.h"

#include <QDialog>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;

namespace orvane {

// A title as the sheet edits it (each TAB a CR LF) and back (each CR LF, or lone LF, a TAB).
std::string titleForEditing(const std::string& storedTitle);
std::string titleFromEditing(const std::string& editedTitle);

// Page "&Title && Frequencies": the title, the view range and the edge-label switch.
class CFreqProp : public QWidget {
    Q_OBJECT
public:
    explicit CFreqProp(QWidget* parent = nullptr);

    // titleText with CR LF between lines.
    void setValues(double viewStartMhz, double viewStopMhz, const std::string& titleText,
                   bool labelEdges);
    // Reads the boxes; when a frequency box does not hold a number it says so, puts the focus
    // there and answers false.
    bool takeValues();

    double viewStartMhz() const { return viewStartMhz_; }
    double viewStopMhz() const { return viewStopMhz_; }
    const std::string& titleText() const { return titleText_; } // CR LF between lines
    bool labelEdges() const { return labelEdges_; }

    QPlainTextEdit* titleBox() const { return titleBox_; }
    QLineEdit* startBox() const { return startBox_; }
    QLineEdit* stopBox() const { return stopBox_; }
    QCheckBox* labelEdgesBox() const { return labelEdgesBox_; }

    // How the page tells the user about a bad number; tests put their own in place.
    std::function<void(const QString&)> showProblem;

private:
    QPlainTextEdit* titleBox_;
    QLineEdit* startBox_;
    QLineEdit* stopBox_;
    QCheckBox* labelEdgesBox_;
    double viewStartMhz_ = 0.0;
    double viewStopMhz_ = 0.0;
    std::string titleText_;
    bool labelEdges_ = false;
};

// Page "&Colours": background, title, axis, carrier and label colours with their swatches.
class CColourProp : public QWidget {
    Q_OBJECT
public:
    enum Slot { background, title, axis, carriers, labels, slotCount };

    explicit CColourProp(QWidget* parent = nullptr);

    void setColour(Slot slot, Colour colour);
    Colour colour(Slot slot) const { return colours_[slot]; }
    // Asks for a new colour for a slot, as its button does.
    void chooseColour(Slot slot);
    QLabel* swatch(Slot slot) const { return swatches_[slot]; }

    // The colour chooser; one serves the whole run so custom colours stay offered.
    std::function<std::optional<Colour>(Colour current, QWidget* parent)> colourChooser;

private:
    std::array<Colour, slotCount> colours_{};
    std::array<QLabel*, slotCount> swatches_{};
};

// Page "&Fonts": title, carrier label, axis and frequency fonts with a sample of each.
class CFontProp : public QWidget {
    Q_OBJECT
public:
    enum Slot { title, labels, axis, frequencies, slotCount };

    explicit CFontProp(QWidget* parent = nullptr);

    // Clears the fonts-changed record.
    void setFonts(const std::array<FontDescription, slotCount>& fonts);
    const std::array<FontDescription, slotCount>& fonts() const { return fonts_; }
    bool fontsChanged() const { return fontsChanged_; }
    // Asks for a new font for a slot, as its button does.
    void chooseFont(Slot slot);
    QLabel* sample(Slot slot) const { return samples_[slot]; }

    // The font chooser, initialised from the slot's description.
    std::function<std::optional<FontDescription>(const FontDescription& current, QWidget* parent)>
        fontChooser;

private:
    std::array<FontDescription, slotCount> fonts_{};
    std::array<QLabel*, slotCount> samples_{};
    bool fontsChanged_ = false;
};

// The view options sheet "Orvane View Options": the three pages with OK and Cancel, no Apply.
class CNoApplySheet : public QDialog {
    Q_OBJECT
public:
    CNoApplySheet(QWidget* parent, int firstPage);

    CFreqProp* freqPage() const { return freqPage_; }
    CColourProp* colourPage() const { return colourPage_; }
    CFontProp* fontPage() const { return fontPage_; }
    QTabWidget* tabs() const { return tabs_; }
    // The page shown last.
    int lastPage() const { return lastPage_; }

    // OK: only when every box holds what it must.
    void accept() override;

private:
    QTabWidget* tabs_;
    CFreqProp* freqPage_;
    CColourProp* colourPage_;
    CFontProp* fontPage_;
    int lastPage_;
};

// Copies the settings into the sheet, and the sheet's values back after OK.
void loadViewOptions(CNoApplySheet& sheet, const DisplaySettings& settings);
void applyViewOptions(const CNoApplySheet& sheet, DisplaySettings& settings);

// The View menu's Options command: true when the user pressed OK.
bool runViewOptions(QWidget* parent, DisplaySettings& settings);

} // namespace orvane
