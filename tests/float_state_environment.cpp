// Every test binary runs in the floating-point state that start-up sets: the number
// rules are exact only there, and the test runner does not set it by itself.

#include <gtest/gtest.h>

#include "numbers/float_state.h"

namespace {

struct FloatStateEnvironment : ::testing::Environment {
    void SetUp() override { kobrant::SetFloatingPointState(); }
};

[[maybe_unused]] const auto* const kFloatState = ::testing::AddGlobalTestEnvironment(new FloatStateEnvironment);

}  // namespace
