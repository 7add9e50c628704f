// What the Find dialogs read from their controls, turned into selection
// criteria, and the rule that ties a follow-up check box (billed,
// reimbursed) to its partner (billable, reimbursable).
#pragma once

#include <string>
#include <string_view>

#include "selection/selection.h"

namespace pw {

// The texts of the amount comparison list, in the order they are added.
inline constexpr std::u16string_view PWH_COMPARE_EQUAL = u"=";
inline constexpr std::u16string_view PWH_COMPARE_LESS = u"<";
inline constexpr std::u16string_view PWH_COMPARE_GREATER = u">";

// The state a follow-up box takes when its partner is clicked into
// partnerTri: enabled and "either" when the partner is checked, otherwise
// disabled and unchecked (it cannot be chosen without its partner).
struct FollowUpBox {
  bool enabled;
  int tri;
};
FollowUpBox FollowPartner(int partnerTri);

// The comparison of a comparison text ("<" less, ">" greater, "=" equal);
// PWH_AMOUNT_EQUAL for any other text.
int AmountComparisonFromText(std::u16string_view text);
// "--any--" gives PWH_ANY_AMOUNT (no amount criterion); other text is read
// as a number, 0 when it is not one.
float AmountCriterionFromText(std::u16string_view text);
// A date picker's text as the American date text a search compares with.
std::u16string SearchDateText(std::u16string_view pickerText, bool europeanDates);

// The texts of the time dialog's controls.
struct TimeFindForm {
  std::u16string client, project, subproject, task, currency, billable, billed;
  std::u16string from, to;  // as the pickers show them
};
TimeSelectionCriteria TimeCriteriaFromForm(const TimeFindForm& form, bool europeanDates);

// The texts and check-box tri-states of the expense dialog's controls.
struct ExpenseFindForm {
  std::u16string client, project, description, paymentType, currency, amount, comparison;
  int mileage = PWH_TRI_EITHER, billable = PWH_TRI_EITHER, billed = PWH_TRI_NO,
      reimbursable = PWH_TRI_EITHER, reimbursed = PWH_TRI_NO, receipt = PWH_TRI_EITHER;
  std::u16string from, to;
};
ExpenseSelectionCriteria ExpenseCriteriaFromForm(const ExpenseFindForm& form, bool europeanDates);

}  // namespace pw
