#include <gtest/gtest.h>

#include "engine/lampform.h"
#include "tests/cos_phi.h"

namespace korval {
namespace {

LampForm Form(const char *fittings, const char *lamps, const char *watts, const char *cosPhi)
{
    return {fittings, lamps, watts, cosPhi, 0, 0};
}

TEST(LampForm, checks_run_in_order_and_report_the_first_failure)
{
    const std::pair<LampForm, LampCheck> cases[] = {
        {Form("", "", "", ""), LampCheck::MissingFittings},
        {Form("0", "", "", ""), LampCheck::MissingLampsPerFitting},
        {Form("0", "0", "", "5"), LampCheck::MissingWattsPerLamp},
        {Form("0", "0", "0", ""), LampCheck::MissingCosPhi},
        {Form("0", "0", "0", "9"), LampCheck::BadFittings},
        {Form("1001", "1", "1", "1"), LampCheck::BadFittings},
        {Form("1000", "101", "1", "1"), LampCheck::BadLampsPerFitting},
        {Form("1000", "100", "0", "1"), LampCheck::BadWattsPerLamp},
        {Form("1", "1", "1001", "1"), LampCheck::BadWattsPerLamp},
        {Form("1", "1", "1", "0.09"), LampCheck::BadCosPhi},
        {Form("1", "1", "1", "0.0999"), LampCheck::BadCosPhi},
        {Form("1", "1", "1", "1.5"), LampCheck::BadCosPhi},
        {Form("1", "1", "1", "."), LampCheck::BadCosPhi},
        {Form("1000", "10", "100", "0.99"), LampCheck::OverOneMegawatt},
        {Form("1000", "100", "1000", "1"), LampCheck::OverOneMegawatt},
        {Form("1000", "10", "100", "1"), LampCheck::Ok},
        {Form("1000", "100", "1", "0.1"), LampCheck::Ok},
        {Form("1", "1", "1", "0.1"), LampCheck::Ok},
        {Form("0001", "01", "0099", "1,"), LampCheck::Ok},
        // Pasted or otherwise odd texts fail their own range check.
        {Form("12a", "1", "1", "1"), LampCheck::BadFittings},
        {Form("1", " 2", "1", "1"), LampCheck::BadLampsPerFitting},
        {Form("1", "1", "99999999999", "1"), LampCheck::BadWattsPerLamp},
        {Form("1", "1", "1", "0.9x"), LampCheck::BadCosPhi},
        {Form("1", "1", "1", "\xD9\xA1"), LampCheck::BadCosPhi},
    };
    for (const auto &[form, expected] : cases)
        EXPECT_EQ(CheckLampForm(form), expected)
            << form.Fittings << "|" << form.LampsPerFitting << "|" << form.WattsPerLamp << "|" << form.CosPhi;
}

TEST(LampForm, stores_the_single_precision_cos_phi_and_the_chosen_items)
{
    LampForm form = Form("012", "2", "58", "0,9");
    form.BallastIndex = 1;
    form.AutonomyIndex = 1;
    EXPECT_EQ(ToLampRecord(form), (LampRecord{12, 2, 58, test::kCosPhi09, 3, kFerromagnetic}));
    form.BallastIndex = 0;
    form.AutonomyIndex = 0;
    EXPECT_EQ(ToLampRecord(form), (LampRecord{12, 2, 58, test::kCosPhi09, 1, kElectronic}));
}

}  // namespace
}  // namespace korval
