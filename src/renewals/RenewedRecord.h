#pragma once

#include "storage/PolicyRow.h"

#include <QDate>

namespace osago {

// The new record that renews `old`: the same policyholder, owner, vehicle and drivers; the insurance period moved
// on (renewedTerm()), the start of the term with it, and the period of use with it where it was the insurance
// period (else left for the agent to enter); issued `today`; the blanks' numbers (policy, receipt, special
// sign) and the premium empty, to be filled in and computed again; no code.
PolicyRow renewedRow(const PolicyRow& old, QDate today);

} // namespace osago
