#include "app/qt_user_interaction.h"

#include "app/progress_runner.h"
#include "commands/chooser_filters.h"
#include "commands/file_commands.h"
#include "commands/help_request.h"
#include "dialogs/dialog_runners.h"
#include "report/path_names.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QStringList>
#include <QUrl>

#include <algorithm>

namespace orvane {

namespace {

struct ChooserSettings {
    const char* title;
    const char* filterText;
    const char* defaultSuffix;
    bool saving;
};

constexpr ChooserSettings carrierOpenChooser{
    "Carrier Input File...",
    "Text Files (*.txt)|*.txt|Carrier Files (*.carriers.txt)|*.carriers.txt|All Files (*.*)|*.*||",
    "txt", false};
constexpr ChooserSettings carrierSaveChooser{
    "Select Carriers Output File...",
    "Text Files (*.txt)|*.txt|Carrier Files (*.carriers.txt)|*.carriers.txt||", "txt", true};
constexpr ChooserSettings modcodChooser{
    "Modcod File...", "Modcod Files (*.modcod)|*.modcod|All Files (*.*)|*.*||", "modcod", false};
// The bitmap stays the first type; the others follow in the order imageFormatFor knows.
constexpr ChooserSettings imageChooser{"Save Image As ...",
                                       "Bitmap Files (*.bmp)|*.bmp|PNG Images (*.png)|*.png|"
                                       "SVG Drawings (*.svg)|*.svg||",
                                       "bmp", true};
constexpr ChooserSettings reportChooser{"Output File Name...",
                                        "HTML Format (*.htm)|*.htm|Comma Separated (*.csv)|*.csv||",
                                        "htm", true};
constexpr ChooserSettings analysisTableChooser{
    "Save Intermodulation Analysis", "CSV Files (*.csv)|*.csv|All Files (*.*)|*.*||", "csv", true};

constexpr ChooserSettings amplifierTableChooser{
    "Measured Amplifier Curve", "CSV Files (*.csv)|*.csv|All Files (*.*)|*.*||", "csv", false};

// Shows one chooser; on OK the folder becomes the chosen file's folder.
std::optional<ChosenFile> runChooser(QWidget* parent, const ChooserSettings& settings,
                                     std::string& folder, const std::string& suggestedName = {})
{
    QFileDialog dialog(parent, QString::fromLatin1(settings.title));
    // A folder that is not known (or no longer there) gives way to the user's home.
    const QString start = QString::fromStdString(folder);
    dialog.setDirectory(!start.isEmpty() && QFileInfo(start).isDir() ? start : QDir::homePath());
    QStringList filters;
    for (const std::string& filter : chooserFilterList(settings.filterText))
        filters << QString::fromStdString(filter);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty())
        dialog.selectNameFilter(filters.front());
    dialog.setDefaultSuffix(QString::fromLatin1(settings.defaultSuffix));
    // A name typed without an extension gets the one of the file type chosen.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& filter) {
                         const std::string suffix = defaultSuffixOf(filter.toStdString());
                         if (!suffix.empty())
                             dialog.setDefaultSuffix(QString::fromStdString(suffix));
                     });
    if (settings.saving) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (!suggestedName.empty())
        dialog.selectFile(QString::fromStdString(suggestedName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;

    ChosenFile chosen;
    chosen.path = dialog.selectedFiles().front().toStdString();
    chosen.filterIndex =
        std::max(0, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())));
    folder = directoryOf(chosen.path);
    return chosen;
}

QMessageBox::Icon messageBoxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::information:
        return QMessageBox::Information;
    case MessageIcon::warning:
        return QMessageBox::Warning;
    case MessageIcon::error:
        return QMessageBox::Critical;
    case MessageIcon::question:
        return QMessageBox::Question;
    case MessageIcon::none:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QtUserInteraction::QtUserInteraction(QWidget* parent, int progressDelayMs)
    : parent_(parent), progressDelayMs_(progressDelayMs)
{
}

std::optional<ChosenFile> QtUserInteraction::chooseCarrierFileToOpen(std::string& folder)
{
    return runChooser(parent_, carrierOpenChooser, folder);
}

std::optional<ChosenFile> QtUserInteraction::chooseCarrierFileToSave(std::string& folder)
{
    return runChooser(parent_, carrierSaveChooser, folder);
}

std::optional<ChosenFile> QtUserInteraction::chooseModcodFile(std::string& folder)
{
    return runChooser(parent_, modcodChooser, folder);
}

std::optional<ChosenFile> QtUserInteraction::chooseImageFile(std::string& folder,
                                                             const std::string& suggestedName)
{
    return runChooser(parent_, imageChooser, folder, suggestedName);
}

std::optional<ChosenFile> QtUserInteraction::chooseReportFile(std::string& folder)
{
    return runChooser(parent_, reportChooser, folder);
}

std::optional<ChosenFile> QtUserInteraction::chooseAnalysisTableFile(std::string& folder)
{
    return runChooser(parent_, analysisTableChooser, folder);
}

std::optional<ChosenFile> QtUserInteraction::chooseAmplifierTableFile(std::string& folder)
{
    return runChooser(parent_, amplifierTableChooser, folder);
}

bool QtUserInteraction::editCarrier(Carrier& carrier)
{
    return runCarrierDialog(parent_, carrier);
}

std::optional<CarrierPosition>
QtUserInteraction::selectCarrier(const CarrierList& list, const std::string& caption,
                                 const std::string& okButtonText,
                                 std::optional<CarrierPosition> preselected)
{
    return runCarrierSelection(parent_, list, caption, okButtonText, preselected);
}

std::optional<double> QtUserInteraction::askFrequency(const std::string& caption, double initialMhz)
{
    return runFrequencyEntry(parent_, caption, initialMhz);
}

bool QtUserInteraction::arrangeCarriers(ArrangeModel& model)
{
    return runArrangeDialog(parent_, model);
}

bool QtUserInteraction::askYesNo(const std::string& text, unsigned helpKey)
{
    QMessageBox box(QMessageBox::Question, QString::fromLatin1(programCaption),
                    QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No, parent_);
    if (helpKey != 0) {
        auto* help = new QShortcut(QKeySequence(Qt::Key_F1), &box);
        QObject::connect(help, &QShortcut::activated, &box, [helpKey] { requestHelp(helpKey); });
    }
    return box.exec() == QMessageBox::Yes;
}

bool QtUserInteraction::askOkCancel(const std::string& text)
{
    QMessageBox box(QMessageBox::Question, QString::fromLatin1(programCaption),
                    QString::fromStdString(text), QMessageBox::Ok | QMessageBox::Cancel, parent_);
    return box.exec() == QMessageBox::Ok;
}

UnsavedChangesAnswer QtUserInteraction::askToSaveChanges(const std::string& text)
{
    QMessageBox box(QMessageBox::Question, QString::fromLatin1(programCaption),
                    QString::fromStdString(text),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent_);
    box.setDefaultButton(QMessageBox::Save);
    box.button(QMessageBox::Save)->setText(QStringLiteral("&Save"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("&Discard"));
    switch (box.exec()) {
    case QMessageBox::Save:
        return UnsavedChangesAnswer::save;
    case QMessageBox::Discard:
        return UnsavedChangesAnswer::discard;
    default:
        return UnsavedChangesAnswer::cancel;
    }
}

void QtUserInteraction::showMessage(const std::string& text, const std::string& caption,
                                    MessageIcon icon)
{
    QMessageBox box(messageBoxIcon(icon), QString::fromStdString(caption),
                    QString::fromStdString(text), QMessageBox::Ok, parent_);
    box.exec();
}

int QtUserInteraction::openWithDesktop(const std::string& path)
{
    if (!QFileInfo::exists(QString::fromStdString(path)))
        return 2;
    // The desktop gives no cause for a failure: "no application associated" is the likely one.
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path))) ? 0 : 31;
}

void QtUserInteraction::showSavedButNotOpened(const std::string& text, const std::string& path)
{
    QMessageBox box(QMessageBox::Information, QString::fromLatin1(programCaption),
                    QString::fromStdString(text), QMessageBox::Ok, parent_);
    QPushButton* openFolder =
        box.addButton(QStringLiteral("Open &Folder"), QMessageBox::ActionRole);
    openFolder->setObjectName(QStringLiteral("openFolderButton"));
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    if (box.clickedButton() == openFolder)
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(directoryOf(path))));
}

void QtUserInteraction::beginBusy()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtUserInteraction::endBusy()
{
    QApplication::restoreOverrideCursor();
}

std::exception_ptr
QtUserInteraction::runWithProgress(const std::string& text,
                                   const std::function<void(WorkProgress&)>& work)
{
    return runWithProgressDialog(parent_, QString::fromStdString(text), work, progressDelayMs_);
}

} // namespace orvane
