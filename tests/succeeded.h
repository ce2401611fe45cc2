// A check on a Result or Status that prints the failure's message.
#pragma once

#include <gtest/gtest.h>

#include "util/result.h"

namespace vek::testing {

// ASSERT_TRUE(Succeeded(table.Load(path))) fails with the load's message.
template <class T>
::testing::AssertionResult Succeeded(const Result<T>& result) {
    if (result.ok()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << result.message();
}

}  // namespace vek::testing
