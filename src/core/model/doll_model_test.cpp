#include "core/model/doll_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace luma {
namespace {

std::vector<std::string> CelKeys(const DollModel& doll) {
  std::vector<std::string> keys;
  for (const auto& cel : doll.cels())
    keys.push_back(cel->file_name + "*" + std::to_string(cel->palette));
  return keys;
}

TEST(DollModelTest, CelsSortByNameThenPaletteAndCaseMakesSeparateEntries) {
  DollModel doll;
  KissCel* b1 = doll.RegisterCel("b.cel", 1);
  doll.RegisterCel("a.cel", 0);
  doll.RegisterCel("B.CEL", 0);
  doll.RegisterCel("b.cel", 0);
  EXPECT_EQ(doll.RegisterCel("b.cel", 1), b1);
  EXPECT_EQ(CelKeys(doll), (std::vector<std::string>{"B.CEL*0", "a.cel*0", "b.cel*0", "b.cel*1"}));
}

TEST(DollModelTest, LaterPalettesOfAFileAreClonesOfTheFirstEntry) {
  DollModel doll;
  KissCel* first = doll.RegisterCel("shirt.cel", 2);
  KissCel* second = doll.RegisterCel("shirt.cel", 1);
  KissCel* third = doll.RegisterCel("SHIRT.CEL", 3);
  EXPECT_FALSE(first->is_clone());
  EXPECT_EQ(second->base, first);
  EXPECT_EQ(third->base, first);
  EXPECT_EQ(doll.FindCel("shirt.cel", 1), second);
  EXPECT_EQ(doll.FindCel("shirt.cel", 4), nullptr);
}

TEST(DollModelTest, SortedListsAgreeAcrossTheLinearAndBinarySearchSizes) {
  DollModel doll;
  // Insert in scrambled order so both search forms see every position.
  for (int i = 0; i < 40; ++i) {
    const int n = (i * 17) % 40;
    doll.FindObject(n, true);
    doll.FindOrCreateGroup("G" + std::to_string(n));
    doll.RegisterCel("c" + std::to_string(n) + ".cel", n % 3);
  }
  ASSERT_EQ(doll.objects().size(), 40u);
  for (size_t i = 0; i < 40; ++i) EXPECT_EQ(doll.objects()[i]->number, static_cast<int>(i));
  for (int n = 0; n < 40; ++n) {
    EXPECT_NE(doll.FindObject(n, false), nullptr);
    EXPECT_NE(doll.FindGroup("g" + std::to_string(n)), nullptr) << n;
    EXPECT_NE(doll.FindCel("c" + std::to_string(n) + ".cel", n % 3), nullptr);
  }
  EXPECT_EQ(doll.FindObject(40, false), nullptr);
  EXPECT_EQ(doll.groups().size(), 40u);
  EXPECT_EQ(doll.FindOrCreateGroup("g7"), doll.FindGroup("G7"));
  EXPECT_EQ(doll.groups().size(), 40u);
  for (size_t i = 1; i < doll.cels().size(); ++i) {
    EXPECT_LT(doll.cels()[i - 1]->file_name, doll.cels()[i]->file_name);
  }
}

TEST(DollModelTest, RemovingAnInstanceUnlinksItEverywhere) {
  DollModel doll;
  KissObject* object = doll.FindObject(1, true);
  CelInstance* a = doll.AddInstance();
  CelInstance* b = doll.AddInstance();
  for (CelInstance* i : {a, b}) {
    i->object = object;
    object->cels.push_back(i);
  }
  CelSet* group = doll.FindOrCreateGroup("hat");
  group->AddInstance(a);
  group->AddInstance(a);
  group->AddInstanceForSet(a, 3);
  group->AddInstance(b);
  EXPECT_EQ(group->instances.size(), 2u);
  EXPECT_EQ(a->cel_sets.size(), 1u);
  doll.RemoveInstances([a](const CelInstance& i) { return &i == a; });
  ASSERT_EQ(doll.instances().size(), 1u);
  EXPECT_EQ(doll.instances()[0].get(), b);
  EXPECT_EQ(object->cels, std::vector<CelInstance*>{b});
  EXPECT_EQ(group->instances, std::vector<CelInstance*>{b});
  EXPECT_TRUE(group->by_set[3].empty());
}

TEST(DollModelTest, PalettesAreFoundByNameIgnoringCaseAndStartWithDefaultColours) {
  DollModel doll;
  KissPalette* p = doll.FindOrCreatePalette("Body.KCF");
  EXPECT_EQ(doll.FindOrCreatePalette("body.kcf"), p);
  EXPECT_EQ(doll.palettes().size(), 1u);
  EXPECT_EQ(p->groups[9][0], 0u);
  EXPECT_EQ(p->groups[0][1], 0xffffffffu);
  EXPECT_EQ(p->groups[4][2], 0xff7f7f7fu);
  doll.palette_line_index = {0};
  EXPECT_EQ(doll.PaletteOfLine(0), p);
  EXPECT_EQ(doll.PaletteOfLine(1), nullptr);
}

TEST(DollModelTest, ResetRestoresCnfValuesButKeepsSetFlagsAndBorder) {
  DollModel doll;
  KissCel* cel0 = doll.RegisterCel("a.cel", 0);
  KissCel* cel1 = doll.RegisterCel("a.cel", 1);
  KissObject* object = doll.FindObject(0, true);
  object->fix = object->cnf_fix = 5;
  object->initial_position[2] = {10, 20};
  CelInstance* inst = doll.AddInstance();
  inst->cel = cel1;
  inst->object = object;
  inst->palette = inst->cnf_palette = 1;
  doll.sets[2].palette_group = doll.sets[2].cnf_palette_group = 3;
  doll.border_color = doll.cnf_border_color = 4;

  // Play changes everything.
  object->fix = 0;
  object->position[2] = {99, 99};
  inst->mapped = false;
  inst->ghost = true;
  inst->transparency = 128;
  inst->palette = 0;
  inst->cel = cel0;
  inst->in_set.reset(4);
  doll.sets[2].palette_group = 7;
  doll.border_color = 9;

  const std::vector<KissCel*> recolor = doll.Reset(false);
  EXPECT_EQ(object->fix, 5u);
  EXPECT_EQ(object->position[2], (Position{10, 20}));
  EXPECT_TRUE(inst->mapped);
  EXPECT_FALSE(inst->ghost);
  EXPECT_EQ(inst->transparency, 0);
  EXPECT_EQ(inst->palette, 1);
  EXPECT_EQ(inst->cel, cel1);
  EXPECT_EQ(recolor, std::vector<KissCel*>{cel1});
  EXPECT_FALSE(inst->in_set.test(4));
  EXPECT_EQ(doll.sets[2].palette_group, 3);
  EXPECT_EQ(doll.border_color, 9);
}

TEST(DollModelTest, GroupColorsComeFromTheFirstPaletteLine) {
  DollModel doll;
  EXPECT_EQ(doll.group_colors[3].background, 0xff000000u);  // black until computed
  KissPalette* p = doll.FindOrCreatePalette("a.kcf");
  p->groups[2][0] = 0x00102030;
  p->groups[2][7] = 0xff20d0f0;
  doll.palette_line_index = {0};
  doll.border_color = 7;
  doll.ComputeGroupColors();
  EXPECT_EQ(doll.group_colors[2].background, 0xff102030u);
  EXPECT_EQ(doll.group_colors[2].border, 0xff20d0f0u);
  EXPECT_EQ(doll.group_colors[2].border_light, 0xff60ffffu);
  EXPECT_EQ(doll.group_colors[2].border_dark, 0xff0090b0u);
  doll.border_color = 300;  // no range check on the border line: read as black
  doll.ComputeGroupColors();
  EXPECT_EQ(doll.group_colors[2].border, 0xff000000u);
}

TEST(DollModelTest, ClearingForAnotherCnfKeepsOnlyChosenCels) {
  DollModel doll;
  KissCel* kept = doll.RegisterCel("a.cel", 0);
  kept->present = true;
  doll.RegisterCel("a.cel", 1)->present = true;  // a clone never stays
  doll.RegisterCel("b.cel", 0);
  doll.AddInstance()->cel = kept;
  doll.FindObject(1, true);
  doll.FindOrCreateGroup("g");
  doll.FindOrCreatePalette("p.kcf");
  doll.playfield = {640, 480};
  doll.report.Error(kMsgSyntaxError, 1);
  doll.ClearKeepingCels([](const KissCel& cel) { return cel.present; });
  ASSERT_EQ(doll.cels().size(), 1u);
  EXPECT_EQ(doll.cels()[0].get(), kept);
  EXPECT_TRUE(doll.instances().empty());
  EXPECT_TRUE(doll.objects().empty());
  EXPECT_TRUE(doll.groups().empty());
  EXPECT_TRUE(doll.palettes().empty());
  EXPECT_EQ(doll.playfield, PlayfieldSize());
  EXPECT_TRUE(doll.report.empty());
  // The kept cel is found again, and is again the base of a new clone.
  EXPECT_EQ(doll.RegisterCel("a.cel", 0), kept);
  EXPECT_EQ(doll.RegisterCel("a.cel", 2)->base, kept);
}

TEST(DollModelTest, ExternalFilesAreDistinctIgnoringCase) {
  DollModel doll;
  EXPECT_EQ(doll.FindExternalFile("bell.wav", false), -1);
  EXPECT_EQ(doll.FindExternalFile("bell.wav", true), 0);
  EXPECT_EQ(doll.FindExternalFile("song.mid", true), 1);
  EXPECT_EQ(doll.FindExternalFile("BELL.WAV", true), 0);
  ASSERT_EQ(doll.external_files.size(), 2u);
  EXPECT_EQ(doll.external_files[0].name, "bell.wav");
}

}  // namespace
}  // namespace luma
