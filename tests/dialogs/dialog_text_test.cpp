#include "dialogs/dialog_text.h"
#include "dialogs/fixed_carrier_dialog.h"

#include "dialog_test_support.h"

#include <QLocale>

#include <clocale>

namespace orvane::test {
namespace {

TEST(LabelText, LineBreaksAndTabsConvertBothWays)
{
    EXPECT_EQ(labelTextForBox("A\tB\t"), "A\nB\n");
    EXPECT_EQ(labelFromBox("A\nB\r\nC"), "A\tB\tC");
    EXPECT_EQ(labelFromBox(labelTextForBox("TV1\tUplink \xc3\xa9")), "TV1\tUplink \xc3\xa9");
}

// The desktop program runs in the user's locale; the boxes keep the decimal point.
TEST(CommaLocale, DialogsShowAndReadDecimalPoints)
{
    // The C library's locale is switched too where the system has it.
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

    Carrier carrier;
    carrier.calcMode = calcModeFixed;
    {
        FixedCarrierDialog dialog(carrier);
        dialog.show();
        EXPECT_EQ(text(&dialog, "editBandwidth"), "1.35");
        retype(&dialog, "editBandwidth", "2.7");
        EXPECT_EQ(text(&dialog, "editSymbolRate"), "2000");
    }

    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_ALL, previous.c_str());
}

} // namespace
} // namespace orvane::test
