#include <gtest/gtest.h>

#include "ui/print/question.h"

namespace korval {
namespace {

// Which printers ask where to save, and what the file they write is called.
TEST(SaveQuestions, come_from_printers_that_ask_and_fit_what_they_write)
{
    struct Case {
        const char *port;
        const char *driver;
        const char *suffix;  // nullptr: prints without asking
    };
    const Case cases[] = {
        {"PORTPROMPT:", "Microsoft Print To PDF", ".pdf"},
        {"PORTPROMPT:", "Microsoft XPS Document Writer v4", ".oxps"},
        {"PORTPROMPT:", "Microsoft XPS Document Writer", ".xps"},
        {"PORTPROMPT:", "Some Vendor Writer", ".prn"},
        {"FILE:", "HP LaserJet 4", ".prn"},
        {" file: ", "generic-a4", ".prn"},
        {"FILE:", "microsoft print to pdf", ".pdf"},
        // The writers ask wherever they print, but where their port names the file.
        {"Ne01:", "Microsoft Print To PDF", ".pdf"},
        {"C:\\Stampe\\progetto.pdf", "Microsoft Print To PDF", nullptr},
        {"NUL:", "Microsoft XPS Document Writer v4", nullptr},
        {"USB001", "HP LaserJet 4", nullptr},
        {"CUPS:generic-a4", "generic-a4", nullptr},
        {"\\\\server\\laser", "HP LaserJet 4", nullptr},
        {"FILE-SERVER:", "HP LaserJet 4", nullptr},
        {"", "", nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.port) + " / " + c.driver);
        const std::optional<SaveQuestion> question =
            QuestionOf(QString::fromLatin1(c.port), QString::fromLatin1(c.driver));
        ASSERT_EQ(question.has_value(), c.suffix != nullptr);
        if (question) {
            EXPECT_EQ(question->Suffix, QLatin1String(c.suffix));
        }
    }
}

}  // namespace
}  // namespace korval
