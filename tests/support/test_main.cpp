#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// ORVANE_TEST_LOCALE names a locale to run every test under (a comma-decimal one proves that
// numbers are read and written without the user's locale). A locale that is missing fails
// the run rather than quietly testing nothing.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (const char* wanted = std::getenv("ORVANE_TEST_LOCALE")) {
        if (!std::setlocale(LC_ALL, wanted)) {
            std::fprintf(stderr, "The locale %s is not installed.\n", wanted);
            return 1;
        }
        const std::lconv* conventions = std::localeconv();
        std::fprintf(stderr, "Running under %s (decimal point '%s').\n", wanted,
                     conventions->decimal_point);
    }
    return RUN_ALL_TESTS();
}
