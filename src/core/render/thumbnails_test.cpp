#include "core/render/thumbnails.h"

#include <gtest/gtest.h>

namespace luma {
namespace {

TEST(ThumbnailPathTest, ExtensionAndFolderRules) {
  EXPECT_EQ(ThumbnailPath("/dolls/anna.lzh", false, ""), "/dolls/anna.KTN");
  EXPECT_EQ(ThumbnailPath("/dolls/anna", false, ""), "/dolls/anna.KTN");
  // A dot before index 3 does not start an extension.
  EXPECT_EQ(ThumbnailPath("a.lzh", false, ""), "a.lzh.KTN");
  EXPECT_EQ(ThumbnailPath("ab.cnf", false, ""), "ab.cnf.KTN");
  EXPECT_EQ(ThumbnailPath("abc.cnf", false, ""), "abc.KTN");
  // Nor does a dot in a folder name.
  EXPECT_EQ(ThumbnailPath("/my.dolls/anna", false, ""), "/my.dolls/anna.KTN");
  EXPECT_EQ(ThumbnailPath("/dolls/anna.lzh", true, "/thumbs/"), "/thumbs/anna.KTN");
  EXPECT_EQ(ThumbnailPath("C:\\dolls\\anna.lzh", true, "/thumbs"), "/thumbs/anna.KTN");

  Settings settings;
  EXPECT_EQ(ThumbnailFolder(settings, "/data"), "/data/thumb");
  settings.thumb_directory = "/elsewhere";
  EXPECT_EQ(ThumbnailFolder(settings, "/data"), "/elsewhere");
}

TEST(ThumbnailPathTest, PicturesKeepThePlayfieldShape) {
  int w = 64, h = 48;
  FitToPlayfield(640, 480, &w, &h);
  EXPECT_EQ(w, 64);
  EXPECT_EQ(h, 48);
  w = 64, h = 48;
  FitToPlayfield(448, 480, &w, &h);
  EXPECT_EQ(w, 44);
  EXPECT_EQ(h, 48);
}

}  // namespace
}  // namespace luma
