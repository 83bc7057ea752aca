#include "core/host/settings.h"

#include <gtest/gtest.h>

namespace luma {
namespace {

Settings LoadFrom(const MemorySettingsStore& store) {
  Settings s;
  s.Load(store);
  return s;
}

TEST(SettingsTest, DefaultsWhenStoreIsEmpty) {
  MemorySettingsStore store;
  Settings s = LoadFrom(store);
  EXPECT_EQ(s.boundary_enforcement, 3);
  EXPECT_EQ(s.quick_timer, 5);
  EXPECT_EQ(s.strong_fix, 100);
  EXPECT_EQ(s.max_stack, 20);
  EXPECT_TRUE(s.sound_enabled);
  EXPECT_FALSE(s.cheat);
  EXPECT_EQ(s.thumb_width, 64);
  EXPECT_EQ(s.pool_expire, 6);
}

TEST(SettingsTest, ClampsOnReading) {
  MemorySettingsStore store;
  store.WriteInt("Options", "Strong Fix", 1);
  store.WriteInt("Options", "Max Stack", 5);
  store.WriteInt("Options", "Quick Timer", 99);
  store.WriteInt("Options", "Boundary Enforcement", 7);
  store.WriteInt("Options", "Thumb Height", 1000);
  Settings s = LoadFrom(store);
  EXPECT_EQ(s.strong_fix, 2);
  EXPECT_EQ(s.max_stack, 20);
  EXPECT_EQ(s.quick_timer, 50);
  EXPECT_EQ(s.boundary_enforcement, 4);
  EXPECT_EQ(s.thumb_height, 200);

  store.WriteInt("Options", "Quick Timer", 0);
  store.WriteInt("Options", "Boundary Enforcement", -3);
  s = LoadFrom(store);
  EXPECT_EQ(s.quick_timer, 1);
  EXPECT_EQ(s.boundary_enforcement, 0);
}

TEST(SettingsTest, BooleanRules) {
  MemorySettingsStore store;
  store.WriteInt("Options", "Sound Enabled", -1);  // negative counts as off
  store.WriteInt("Options", "Cheat", -1);          // any non-zero counts as on
  store.WriteInt("Options", "Thumb Use Directory", -5);
  store.WriteInt("Options", "Mouse Hide", 7);
  Settings s = LoadFrom(store);
  EXPECT_FALSE(s.sound_enabled);
  EXPECT_TRUE(s.cheat);
  EXPECT_TRUE(s.thumb_use_directory);
  EXPECT_TRUE(s.mouse_hide);
}

TEST(SettingsTest, PoolExpireZeroReadsAsOneOtherValuesStay) {
  MemorySettingsStore store;
  store.WriteInt("Options", "Pool Expire", 0);
  EXPECT_EQ(LoadFrom(store).pool_expire, 1);
  store.WriteInt("Options", "Pool Expire", 400);
  EXPECT_EQ(LoadFrom(store).pool_expire, 400);
  store.WriteInt("Options", "Pool Expire", -2);
  EXPECT_EQ(LoadFrom(store).pool_expire, -2);
}

TEST(SettingsTest, ClampKeepsEditedValuesInTheRangesOfReading) {
  Settings s;
  s.strong_fix = 1;
  s.quick_timer = 99;
  s.boundary_enforcement = -3;
  s.thumb_width = 1000;
  s.current_tip = 12;
  s.pool_expire = 0;
  s.Clamp();
  EXPECT_EQ(s.strong_fix, 2);
  EXPECT_EQ(s.quick_timer, 50);
  EXPECT_EQ(s.boundary_enforcement, 0);
  EXPECT_EQ(s.thumb_width, 256);
  EXPECT_EQ(s.current_tip, 11);
  EXPECT_EQ(s.pool_expire, 1);
  s.pool_expire = 400;
  s.Clamp();
  EXPECT_EQ(s.pool_expire, 400) << "only 0 is out of range";
}

TEST(SettingsTest, NamesCompareCaseInsensitively) {
  MemorySettingsStore store;
  store.WriteInt("options", "warn palette", 0);
  store.WriteInt("OPTIONS", "FORCE PALETTE", 1);
  Settings s = LoadFrom(store);
  EXPECT_FALSE(s.warn_palette);
  EXPECT_TRUE(s.force_palette);
}

TEST(SettingsTest, TextEncodingIsAutomaticUnlessOneOfTheThreeIsStored) {
  MemorySettingsStore store;
  EXPECT_EQ(LoadFrom(store).text_encoding_choice(), TextEncoding::kAutomatic);
  store.WriteInt("Options", "Text Encoding", 1);
  EXPECT_EQ(LoadFrom(store).text_encoding_choice(), TextEncoding::kShiftJis);
  store.WriteInt("Options", "Text Encoding", 9);
  EXPECT_EQ(LoadFrom(store).text_encoding_choice(), TextEncoding::kUtf8);
}

TEST(SettingsTest, UnreadableNumberTakesDefault) {
  MemorySettingsStore store;
  store.WriteString("Options", "Easy Click", "lots");
  EXPECT_EQ(LoadFrom(store).easy_click, 1);
}

TEST(SettingsTest, SaveAdvancesTipAndRoundTrips) {
  MemorySettingsStore store;
  Settings s;
  s.current_tip = 11;
  s.strong_fix = 500;
  s.thumb_directory = "/tmp/thumbs";
  s.current_directory = "/home/doll";
  s.window_pos = "0,1,-1,-1,0,0,10,10,800,600";
  s.Save(store);
  EXPECT_EQ(store.ReadInt("Options", "Current Tip"), 0);

  Settings back = LoadFrom(store);
  EXPECT_EQ(back.current_tip, 0);
  EXPECT_EQ(back.strong_fix, 500);
  EXPECT_EQ(back.thumb_directory, "/tmp/thumbs");
  EXPECT_EQ(back.current_directory, "/home/doll");
  EXPECT_EQ(back.window_pos, s.window_pos);
}

TEST(SettingsTest, DescriptorsCoverEveryOption) {
  EXPECT_EQ(OptionDescriptors().size(), 40u);
  EXPECT_STREQ(OptionDescriptors().front().name, "Sound Enabled");
  EXPECT_STREQ(OptionDescriptors().back().name, "Cheat");
}

}  // namespace
}  // namespace luma
