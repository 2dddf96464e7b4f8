#pragma once

namespace osago {

// How far the policy's data is moved on paper, in millimetres (positive: right and down), to meet the boxes of the
// pre-printed blank in the agent's printer. Kept in the program's settings.
struct PolicyOffset
{
    double horizontalMm = 0;
    double verticalMm = 0;

    friend bool operator==(const PolicyOffset&, const PolicyOffset&) = default;
};

PolicyOffset loadPolicyOffset();
void savePolicyOffset(const PolicyOffset& offset);

} // namespace osago
