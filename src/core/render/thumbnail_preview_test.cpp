#include "core/render/thumbnail_preview.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/testing/test_paths.h"

namespace luma {
namespace {

TEST(ThumbnailPreviewTest, BesideTheFileUnlessTheFolderComesFirst) {
  Settings settings;
  EXPECT_TRUE(PreviewThumbnailPaths("", settings, "/data").empty());
  EXPECT_EQ(PreviewThumbnailPaths("/dolls/anna.lzh", settings, "/data"),
            (std::vector<std::string>{"/dolls/anna.KTN"}));
  // A short name's dot is no extension; a dot in a folder name neither.
  EXPECT_EQ(PreviewThumbnailPaths("a.lzh", settings, "/data"),
            (std::vector<std::string>{"a.lzh.KTN"}));
  EXPECT_EQ(PreviewThumbnailPaths("/my.dolls/anna", settings, "/data"),
            (std::vector<std::string>{"/my.dolls/anna.KTN"}));

  testing::TempDir dir;
  const std::string folder = (dir.path() / "thumbs").string();
  settings.thumb_use_directory = true;
  settings.thumb_directory = folder + "/";
  EXPECT_EQ(PreviewThumbnailPaths("/dolls/anna.cnf", settings, "/data"),
            (std::vector<std::string>{folder + "/anna.KTN", "/dolls/anna.KTN"}));
  // Looking does not make the folder.
  EXPECT_FALSE(std::filesystem::exists(folder));
  settings.thumb_directory.clear();
  EXPECT_EQ(PreviewThumbnailPaths("/dolls/anna.cnf", settings, "/data")[0], "/data/thumb/anna.KTN");
}

}  // namespace
}  // namespace luma
