// Where the programs find their data: next to themselves, or in share/vek of
// an installation wherever it was moved.
#include "util/paths.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "../temp_folder.h"

namespace vek {
namespace {

using testing::TempFolder;

TEST(DataFolderOf, NextToTheProgramThenTheInstalledShareFolder) {
    TempFolder root;
    std::filesystem::create_directories(root / "usr/bin");
    std::filesystem::create_directories(root / "usr/share/vek");
    // Nothing anywhere: the program's own folder, so messages name it.
    EXPECT_EQ(DataFolderOf(root / "usr/bin"), root / "usr/bin/");

    testing::WriteRaw(root / "usr/share/vek/vek.dat", "1 en: VEK\n1 de: VEK\n");
    EXPECT_EQ(DataFolderOf(root / "usr/bin"), root / "usr/share/vek/");
    EXPECT_EQ(DataFolderOf(root / "usr/bin/"), root / "usr/share/vek/");

    // A build folder or an unpacked archive keeps its data next to the
    // program, and that wins.
    testing::WriteRaw(root / "usr/bin/vek.dat", "1 en: VEK\n1 de: VEK\n");
    EXPECT_EQ(DataFolderOf(root / "usr/bin"), root / "usr/bin/");

    // A folder named vek.dat is no data file.
    std::filesystem::create_directories(root / "opt/bin/vek.dat");
    EXPECT_EQ(DataFolderOf(root / "opt/bin"), root / "opt/bin/");
}

TEST(JoinPath, OneSlashBetween) {
    EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
    EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
    EXPECT_EQ(JoinPath("", "b"), "b");
}

}  // namespace
}  // namespace vek
