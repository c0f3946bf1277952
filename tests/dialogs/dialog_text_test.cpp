#include "dialogs/dialog_text.h"
#include "dialogs/fixed_carrier_dialog.h"

#include "dialog_test_support.h"

#include <QLocale>

#include <clocale>

namespace orvane::test {
namespace {

struct NumberCase {
    const char* text;
    std::optional<double> value;
};

class NumberBoxText : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberBoxText, ReadsOnlyAWholeFiniteNumber)
{
    EXPECT_EQ(readNumberText(QString::fromUtf8(GetParam().text)), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, NumberBoxText,
                         ::testing::Values(NumberCase{"  -2.5 ", -2.5}, NumberCase{"1.", 1.0},
                                           NumberCase{"-", {}}, NumberCase{"1,5", {}},
                                           NumberCase{"12abc", {}}, NumberCase{"inf", {}},
                                           NumberCase{"1e999", {}}));

TEST(LabelText, LineBreaksAndTabsConvertBothWays)
{
    EXPECT_EQ(labelTextForBox("A\tB\t"), "A\nB\n");
    EXPECT_EQ(labelFromBox("A\nB\r\nC"), "A\tB\tC");
    EXPECT_EQ(labelFromBox(labelTextForBox("TV1\tUplink \xc3\xa9")), "TV1\tUplink \xc3\xa9");
}

TEST(ShownNumbers, BoxesThatReadTheSameAreLeftAlone)
{
    QLineEdit box;
    box.setText("1.");
    EXPECT_FALSE(showNumber(&box, 1.0));
    EXPECT_EQ(box.text(), "1.");
    EXPECT_TRUE(showNumber(&box, 740.7407407407));
    EXPECT_EQ(box.text(), "740.7407407407");
    EXPECT_TRUE(showNumber(&box, 1.0 / 3.0));
    EXPECT_EQ(box.text(), "0.333333333333333");
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
