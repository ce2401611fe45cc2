#include "app/program_text.h"

#include <gtest/gtest.h>

#include <string>

#include "util/paths.h"

namespace vek {
namespace {

TEST(ProgramTextFile, RealFileLoads) {
    ProgramTextTable t;
    const int r = t.Load(JoinPath(VEK_SOURCE_DATA_DIR, "vek.dat"));
    ASSERT_GE(r, 1) << ProgramTextLoadMessage(r, "vek.dat");
    EXPECT_EQ(t.Get(153, 1), "Eingabefehler");
}

}  // namespace
}  // namespace vek
