#include "selection/find_dialogs.h"

#include "text/format.h"
#include "text/time_text.h"

namespace pw {

FollowUpBox FollowPartner(int partnerTri) {
  if (partnerTri == PWH_TRI_YES) return {true, PWH_TRI_EITHER};
  return {false, PWH_TRI_NO};
}

int AmountComparisonFromText(std::u16string_view text) {
  if (text == PWH_COMPARE_LESS) return PWH_AMOUNT_LESS;
  if (text == PWH_COMPARE_GREATER) return PWH_AMOUNT_GREATER;
  return PWH_AMOUNT_EQUAL;
}

float AmountCriterionFromText(std::u16string_view text) {
  if (text == PWH_ANY) return PWH_ANY_AMOUNT;
  float amount = 0.0f;
  return ScanFloat(text, &amount) == 1 ? amount : 0.0f;
}

std::u16string SearchDateText(std::u16string_view pickerText, bool europeanDates) {
  if (!europeanDates) return std::u16string(pickerText);
  std::u16string american;
  EuropeanToAmericanDate(pickerText, &american);
  return american;
}

TimeSelectionCriteria TimeCriteriaFromForm(const TimeFindForm& f, bool europeanDates) {
  TimeSelectionCriteria c;
  c.client = f.client, c.project = f.project, c.subproject = f.subproject, c.task = f.task;
  c.currency = f.currency, c.billable = f.billable, c.billed = f.billed;
  c.from = SearchDateText(f.from, europeanDates);
  c.to = SearchDateText(f.to, europeanDates);
  return c;
}

ExpenseSelectionCriteria ExpenseCriteriaFromForm(const ExpenseFindForm& f, bool europeanDates) {
  ExpenseSelectionCriteria c;
  c.client = f.client, c.project = f.project, c.description = f.description;
  c.paymentType = f.paymentType, c.currency = f.currency;
  c.amount = AmountCriterionFromText(f.amount);
  c.comparison = AmountComparisonFromText(f.comparison);
  c.mileage = f.mileage, c.billable = f.billable, c.billed = f.billed;
  c.reimbursable = f.reimbursable, c.reimbursed = f.reimbursed, c.receipt = f.receipt;
  c.from = SearchDateText(f.from, europeanDates);
  c.to = SearchDateText(f.to, europeanDates);
  return c;
}

}  // namespace pw
