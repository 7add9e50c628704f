#include "selection/find_form.h"

#include <gtest/gtest.h>

#include "support/comma_locale.h"

namespace pw {
namespace {

TEST(FindFormTest, FollowUpBoxFollowsItsPartner) {
  const struct {
    int partner;
    FollowUpBox want;
  } cases[] = {
      {PWH_TRI_YES, {true, PWH_TRI_EITHER}},
      {PWH_TRI_NO, {false, PWH_TRI_NO}},
      {PWH_TRI_EITHER, {false, PWH_TRI_NO}},
  };
  for (const auto& c : cases) {
    const FollowUpBox got = FollowPartner(c.partner);
    EXPECT_EQ(got.enabled, c.want.enabled) << c.partner;
    EXPECT_EQ(got.tri, c.want.tri) << c.partner;
  }
}

TEST(FindFormTest, AmountAndComparison) {
  const struct {
    std::u16string_view amount, comparison;
    float wantAmount;
    int wantComparison;
  } cases[] = {
      {u"--any--", u"<", PWH_ANY_AMOUNT, PWH_AMOUNT_LESS},
      {u"10.5", u">", 10.5f, PWH_AMOUNT_GREATER},
      {u"0", u"=", 0.0f, PWH_AMOUNT_EQUAL},
      {u"ten", u"=", 0.0f, PWH_AMOUNT_EQUAL},       // not a number: 0
      {u"-1", u"<", PWH_ANY_AMOUNT, PWH_AMOUNT_LESS},  // typed -1 means no amount criterion
      {u" 12abc", u"", 12.0f, PWH_AMOUNT_EQUAL},     // read as sscanf does
      {u"--ANY--", u"=", 0.0f, PWH_AMOUNT_EQUAL},    // the wildcard is case-sensitive
  };
  for (const std::string& locale : test::NumberLocales()) {
    test::ScopedLocale scoped(locale);
    for (const auto& c : cases) {
      EXPECT_EQ(AmountCriterionFromText(c.amount), c.wantAmount) << locale;
      EXPECT_EQ(AmountComparisonFromText(c.comparison), c.wantComparison);
    }
  }
}

TEST(FindFormTest, FormsBecomeCriteria) {
  TimeFindForm t{u"Acme", u"--any--", u"Sub", u"Task", u"EUR", u"not billable", u"billed", u"01.12.2000", u"31.12.2000"};
  TimeSelectionCriteria tc = TimeCriteriaFromForm(t, /*europeanDates=*/true);
  EXPECT_EQ(tc.client, u"Acme");
  EXPECT_EQ(tc.project, PWH_ANY);
  EXPECT_EQ(tc.subproject + tc.task + tc.currency, u"SubTaskEUR");
  EXPECT_EQ(tc.billable + u"|" + tc.billed, u"not billable|billed");
  EXPECT_EQ(tc.from + u"-" + tc.to, u"12/01/2000-12/31/2000");
  t.from = u"12/01/2000";
  EXPECT_EQ(TimeCriteriaFromForm(t, false).from, u"12/01/2000");

  ExpenseFindForm e{u"Acme", u"Roof", u"Nails", u"Visa", u"EUR", u"10", u">", 1, 1, 0, 0, 2, 2, u"01.12.2000", u"31.12.2000"};
  const ExpenseSelectionCriteria ec = ExpenseCriteriaFromForm(e, true);
  EXPECT_EQ(ec.client + ec.project + ec.description + ec.paymentType + ec.currency, u"AcmeRoofNailsVisaEUR");
  EXPECT_EQ(ec.amount, 10.0f);
  EXPECT_EQ(ec.comparison, PWH_AMOUNT_GREATER);
  EXPECT_EQ((std::vector<int>{ec.mileage, ec.billable, ec.billed, ec.reimbursable, ec.reimbursed, ec.receipt}),
            (std::vector<int>{1, 1, 0, 0, 2, 2}));
  EXPECT_EQ(ec.from + u"-" + ec.to, u"12/01/2000-12/31/2000");
}

}  // namespace
}  // namespace pw
