// Renders each dialog of the carrier editing to a PNG file, to look at the layouts.
#include "dialogs/carrier_selection_dialog.h"
#include "dialogs/fec_carrier_dialog.h"
#include "dialogs/fixed_carrier_dialog.h"
#include "dialogs/frequency_entry_dialog.h"
#include "dialogs/spectral_carrier_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QTreeWidget>

#include <cstdio>

namespace {

bool save(QWidget& dialog, const QDir& folder, const char* name)
{
    dialog.show();
    QApplication::processEvents();
    const QString path = folder.filePath(QString::fromLatin1(name) + QStringLiteral(".png"));
    const bool saved = dialog.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    dialog.hide();
    return saved;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    bool allSaved = true;

    orvane::Carrier fixed;
    fixed.setFixedBandwidth(6012.5, 2.7, 18.0, 1.35);
    fixed.label = "Uplink TV1\tSouth beam";
    orvane::FixedCarrierDialog fixedDialog(fixed);
    allSaved &= save(fixedDialog, folder, "fixed-carrier-dialog");

    orvane::Carrier fec;
    fec.setFecFromDataRate(6030.0, 2048.0, 0.0, 4, 0.75, 204.0, 188.0, 20.0, 1.35);
    fec.label = "DVB-S 2 Mbit/s";
    orvane::FecCarrierDialog fecDialog(fec);
    allSaved &= save(fecDialog, folder, "fec-carrier-dialog");

    orvane::Carrier spectral;
    spectral.setSpectralFromDataRate(6045.0, 2048.0, 1.5, 8, 0.75, 20.0, 1.35);
    spectral.label = "Data link";
    orvane::SpectralCarrierDialog spectralDialog(spectral);
    allSaved &= save(spectralDialog, folder, "spectral-carrier-dialog");

    orvane::CarrierList plan;
    for (const orvane::Carrier* carrier : {&fixed, &fec, &spectral})
        plan.append(*carrier);
    orvane::CarrierSelectionDialog selectionDialog(plan, QStringLiteral("Modify Carrier :"),
                                                   QStringLiteral("MODIFY"));
    if (auto* view = selectionDialog.findChild<QTreeWidget*>(QStringLiteral("listCarriers")))
        view->setCurrentItem(view->topLevelItem(1));
    allSaved &= save(selectionDialog, folder, "carrier-selection-dialog");

    orvane::FrequencyEntryDialog frequencyDialog(
        QStringLiteral("Enter Start Frequency for Scrunch : "), 5850.0);
    allSaved &= save(frequencyDialog, folder, "frequency-entry-dialog");

    return allSaved ? 0 : 1;
}
