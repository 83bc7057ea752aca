// The texts of the information windows: report headings and when the
// report opens, the set properties, object/cel information, the about
// box's device lines and the system report.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/gfx/software_device.h"
#include "core/host/text.h"
#include "core/view/cel_info.h"
#include "core/view/device_status.h"
#include "core/view/doll_statistics.h"
#include "core/view/error_report_view.h"
#include "core/view/object_cel_info.h"
#include "core/view/set_properties_text.h"
#include "core/view/system_report.h"
#include "core/view/view_test_doll.h"

namespace luma {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

std::string Value(const PropertyRows& rows, const std::string& label) {
  for (const auto& [name, value] : rows) {
    if (name == label) return value;
  }
  ADD_FAILURE() << "no row " << label;
  return {};
}

TEST(ErrorReportViewTest, HeadingsCountErrorsAndWarningsApart) {
  ErrorReport report;
  report.AddError("a.cel file not found\n");
  EXPECT_EQ(ErrorHeading(report.error_count()), "1 Error:");
  EXPECT_EQ(WarningHeading(report.warning_count()), "No Warnings Found");
  EXPECT_EQ(ErrorHeading(0), "No Errors Found");
  EXPECT_EQ(ErrorHeading(101), "101 Errors:");
  EXPECT_EQ(WarningHeading(1), "1 Warning:");
  EXPECT_EQ(WarningHeading(2), "2 Warnings:");
}

TEST(ErrorReportViewTest, WarningsAloneOpenTheReportUnlessErrorsOnlyCoversTheDoll) {
  ErrorReport clean, warned, failed;
  warned.AddWarning("w");
  failed.AddError("e");
  Settings s;
  EXPECT_FALSE(ShowReportAfterLoad(clean, s, false));
  EXPECT_TRUE(ShowReportAfterLoad(warned, s, true)) << "Errors Only is off by default";

  s.errors_only = true;
  s.errors_lzh = true;
  EXPECT_FALSE(ShowReportAfterLoad(warned, s, true));
  EXPECT_TRUE(ShowReportAfterLoad(warned, s, false)) << "the rule holds for archives only";
  s.errors_lzh = false;
  EXPECT_FALSE(ShowReportAfterLoad(warned, s, false));
  EXPECT_TRUE(ShowReportAfterLoad(failed, s, true)) << "errors always open it";
}

TEST(SetPropertiesTextTest, ArchiveSizesChangeUnitAtEachThousandTwentyFour) {
  EXPECT_EQ(ArchiveSizeText("d.lzh", 0), "d.lzh (0 bytes)");
  EXPECT_EQ(ArchiveSizeText("d.lzh", 1023), "d.lzh (1023 bytes)");
  EXPECT_EQ(ArchiveSizeText("d.lzh", 1024), "d.lzh (1.0 Kilobytes)");
  EXPECT_EQ(ArchiveSizeText("d.lzh", 1536), "d.lzh (1.5 Kilobytes)");
  EXPECT_EQ(ArchiveSizeText("d.lzh", 1024 * 1024 - 1), "d.lzh (1024.0 Kilobytes)");
  EXPECT_EQ(ArchiveSizeText("d.lzh", 1024 * 1024), "d.lzh (1.0 Megabytes)");
  EXPECT_EQ(ArchiveSizeText("d.lzh", uint64_t{5} << 30), "d.lzh (5120.0 Megabytes)");
}

TEST(SetPropertiesTextTest, TextureUsageIsZeroWithoutPagesAndNeverOverflows) {
  EXPECT_EQ(TextureUsageText(0, 0), "0%");
  EXPECT_EQ(TextureUsageText(3, 8), "37%");
  EXPECT_EQ(TextureUsageText(8, 8), "100%");
  EXPECT_EQ(TextureUsageText(30000000, 30000000), "100%");
}

TEST(AboutDeviceLinesTest, TheSoftwareDeviceClaimsNoVideoCard) {
  SoftwareDevice device;
  const DeviceFlags& flags = device.flags();
  EXPECT_FALSE(flags.hardware_vertex_processing);
  const auto lines = AboutDeviceLines(flags);
  for (const std::string& line : lines) {
    EXPECT_THAT(line, Not(HasSubstr("video card"))) << line;
    EXPECT_THAT(line, Not(HasSubstr("video memory"))) << line;
  }
  EXPECT_EQ(lines[1], "Vertex processing and drawing computed by software on the processor.");
  EXPECT_EQ(lines[2], StringPrintf("Normal texture memory use\nTexture memory budget: %d Mb",
                                   flags.initial_video_memory_mb));
}

TEST(AboutDeviceLinesTest, EachFlagPicksItsSentence) {
  DeviceFlags flags;
  flags.alpha_palette_supported = true;
  flags.initial_video_memory_mb = 64;
  auto lines = AboutDeviceLines(flags);
  EXPECT_EQ(lines[0],
            "Paletted textures supported by video card but palettes emulated by Lumadoll "
            "instead.");
  EXPECT_EQ(lines[1], "Vertex processing being computed by software.");
  EXPECT_EQ(lines[2], "Normal video memory use\nInitial video memory: 64 Mb");
  EXPECT_EQ(lines[3], "32-bit mode");

  flags.paletted_textures = true;
  flags.hardware_vertex_processing = true;
  flags.memory_saver = true;
  flags.sixteen_bit_texels = true;
  lines = AboutDeviceLines(flags);
  EXPECT_EQ(lines[0], "Paletted textures supported by video card.");
  EXPECT_EQ(lines[1], "Vertex processing being handled by video card.");
  EXPECT_EQ(lines[2], "Video memory conservation mode on\nInitial video memory: 64 Mb");
  EXPECT_EQ(lines[3], "16-bit mode");

  lines = AboutDeviceLines(DeviceFlags{});
  EXPECT_EQ(lines[0],
            "Paletted textures not supported by video card - palettes emulated by "
            "Lumadoll.");
}

// Every line of the report ends in CR LF: no bare LF anywhere.
bool LinesEndInCrLf(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
  }
  return text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0;
}

TEST(SystemReportTest, WithoutADeviceTheReportSaysSoAndListsNoAdapter) {
  SystemFacts facts;
  facts.os_name = "Linux";
  facts.os_version[0] = 6;
  facts.os_version[1] = 1;
  facts.memory_known = true;
  facts.physical_memory = uint64_t{8} << 30;
  const std::string report = ComposeSystemReport(facts, nullptr, Settings{}, {});
  EXPECT_EQ(report.rfind("Computer:\r\n\tOS: Linux v6.1.0\r\n\tSystem Memory:\r\n", 0), 0u)
      << report;
  EXPECT_THAT(report, HasSubstr("\t\tPhysical Memory: 8192Mb\r\n"));
  EXPECT_THAT(report, HasSubstr("\tDiskspace:\r\n\t\tUnable to read disk status\r\n"));
  EXPECT_THAT(report, HasSubstr("DirectX support not functioning.\r\n\r\nLumadoll Options:"));
  EXPECT_THAT(report, Not(HasSubstr("Adapter Info")));
  EXPECT_THAT(report, HasSubstr("\tDefault bounding: Visible\r\n\tBounding override: Never\r\n"));
  EXPECT_THAT(report, HasSubstr("\r\nData Sets:\r\n\t0 KiSS data sets loaded\r\n"));
  EXPECT_TRUE(LinesEndInCrLf(report));
}

TEST(SystemReportTest, TheDeviceSectionDescribesTheRealDevice) {
  SoftwareDeviceOptions options;
  options.texture_memory_bytes = uint64_t{96} << 20;
  SoftwareDevice device(options);
  device.mutable_flags().initial_video_memory_mb = 96;
  device.mutable_flags().alpha_palette_supported = true;
  device.mutable_flags().paletted_textures = false;
  device.mutable_flags().hardware_vertex_processing = false;
  const std::string report = DeviceStatusReport(&device);
  // The software device claims no hardware: it draws on the processor
  // within a texture memory budget.
  EXPECT_EQ(report.rfind("DirectX Status:\r\n\tAlpha palette supported\r\n"
                         "\tAlpha palette not used\r\n\tMemory Saver not in use\r\n"
                         "\tVertices processed by software\r\n"
                         "\tDrawn by software on the processor\r\n"
                         "\tTexture memory budget: 96 Mb\r\n"
                         "\tTexture memory available: 96 Mb\r\n",
                         0),
            0u)
      << report;
  EXPECT_THAT(report, Not(HasSubstr("hardware")));
  EXPECT_THAT(report, Not(HasSubstr("video memory")));
  EXPECT_THAT(report, HasSubstr("\tScreen Size: 1920 x 1080\r\n\r\nAdapter Info:\r\n\t"));
  EXPECT_THAT(report, HasSubstr("\tDriver: "));
  EXPECT_TRUE(LinesEndInCrLf(report));
}

TEST(SystemReportTest, OptionsAndDollsAreListedWithEveryCounter) {
  Settings settings;
  settings.sound_enabled = false;
  settings.boundary_enforcement = 1;
  settings.bounding_ask = 2;
  settings.quick_timer = 7;
  DollStatistics disk, archive;
  disk.name = "doll.cnf";
  disk.fkiss_level = 3;
  disk.total_cels = 4;
  archive.name = "pack.lzh (b.cnf)";
  archive.from_archive = true;
  archive.ckiss = true;
  archive.quads = 12;
  const std::string report = ComposeSystemReport(SystemFacts{}, nullptr, settings, {disk, archive});
  EXPECT_THAT(report, HasSubstr("\tSound disabled\r\n\tMusic enabled\r\n"
                                "\tDefault bounding: FKiSS\r\n\tBounding override: Auto\r\n"
                                "\tQuick Timer: 7\r\n"));
  EXPECT_THAT(report, HasSubstr("\t2 KiSS data sets loaded\r\n\tdoll.cnf\r\n"
                                "\t\tPlayfield: 448 x 320\r\n\t\tFKiSS: 2.1\r\n"
                                "\t\tCels: 4\r\n"));
  EXPECT_THAT(report, HasSubstr("\tpack.lzh (b.cnf)\r\n\t\tFrom LZH\r\n"
                                "\t\tPlayfield: 448 x 320\r\n\t\tCKiSS\r\n\t\tFKiSS: None\r\n"));
  EXPECT_THAT(report, HasSubstr("\t\tQuads: 12\r\n\t\tTextures: 0\r\n"));
  EXPECT_TRUE(LinesEndInCrLf(report));
}

using DollInfoTest = testing::ViewTestDoll;

TEST_F(DollInfoTest, SetPropertiesCountTheLoadedDollAndItsRunningScript) {
  Open(";@initialize() gosub(deep)\n;@label(deep) let(a, 1) let(b, 2)\n");
  view_->StartDoll();
  const DollStatistics stats = GatherStatistics(*doc_, view_->runtime());
  const PropertyRows rows = SetPropertiesRows(stats);
  EXPECT_EQ(Value(rows, "Configuration File:"), "doll.cnf");
  EXPECT_EQ(Value(rows, "Archive:"), "none");
  EXPECT_EQ(Value(rows, "Playfield:"), "200 x 100");
  EXPECT_EQ(Value(rows, "Errors:"), "No Errors");
  EXPECT_EQ(Value(rows, "Cels (16 / 256 / CKiSS):"), "2 / 0 / 0");
  EXPECT_EQ(Value(rows, "Total Cels:"), "2");
  EXPECT_EQ(Value(rows, "KCFs (16 / 256):"), "1 / 0");
  EXPECT_EQ(Value(rows, "Total Objects:"), "2");
  EXPECT_EQ(Value(rows, "FKiSS Events:"), "2");
  EXPECT_EQ(Value(rows, "FKiSS Actions:"), "3");
  EXPECT_EQ(Value(rows, "Deepest Stack:"), "2");
  EXPECT_EQ(Value(rows, "Most Commands:"), "3");
  // Two 8 x 8 cels: one tile each, one page each without recycling.
  EXPECT_EQ(Value(rows, "Total Chunks:"), "2");
  EXPECT_EQ(Value(rows, "Total Textures:"), "2");
  EXPECT_EQ(Value(rows, "Texture Usage:"), "100%");
}

TEST_F(DollInfoTest, ArchiveDollsShowTheArchiveSize) {
  const std::vector<uint8_t> image =
      testing::TestDollArchive({{"doll.cnf", "(100,100)\n%p.kcf\n#0 a.cel *0 :0\n$0 0,0\n"},
                                {"p.kcf", testing::TestKcf(16)},
                                {"a.cel", testing::TestCel(8, 8, 4)}});
  testing::WriteFile(dir_ / "pack.lzh", std::string(image.begin(), image.end()));
  doc_ = std::make_unique<CKissCnfDoc>(host_, device_, settings_);
  ASSERT_TRUE(doc_->OpenDoll((dir_ / "pack.lzh").string()));
  const DollStatistics stats = GatherStatistics(*doc_, nullptr);
  EXPECT_TRUE(stats.from_archive);
  EXPECT_EQ(stats.archive_bytes, image.size());
  EXPECT_EQ(Value(SetPropertiesRows(stats), "Archive:"), ArchiveSizeText("pack.lzh", image.size()));
}

TEST_F(DollInfoTest, ObjectCelInfoListsTheCelAndTheEventsOfCelAndObject) {
  Open(";@press(\"a.cel\") let(hits, 7)\n;@release(#0) unmap(#1)\n");
  view_->StartDoll();
  const ObjectCelInfo info =
      DescribeCel(Cel(0), doc_->model(), view_->CurrentSet(), doc_->fkiss(), view_->runtime());
  EXPECT_EQ(info.status, CelInfoText(Cel(0), doc_->fkiss()));
  auto cel_value = [&](const std::string& label) {
    PropertyRows rows(info.cel_rows.begin(), info.cel_rows.end());
    return Value(rows, label);
  };
  EXPECT_EQ(cel_value("Kind:"), "a.cel (16 color indexed)");
  EXPECT_EQ(cel_value("Size:"), "8 x 8");
  EXPECT_EQ(cel_value("Sets:"), "1 2");
  EXPECT_EQ(cel_value("Palette:"), "p.kcf");
  EXPECT_EQ(info.object_rows.front().second, "#0");
  EXPECT_THAT(info.cel_script, HasSubstr("press(\"a.cel\")\n   let(hits=0, 7)\n"));
  EXPECT_THAT(info.object_script, HasSubstr("release(#0)\n   unmap(#1)\n"));

  const ObjectCelInfo other = DescribeCel(Cel(1), doc_->model(), 1, doc_->fkiss(), nullptr);
  EXPECT_EQ(other.cel_script, "none");
  EXPECT_EQ(other.object_script, "none");
}

// An object that only takes part in a pair event has FKiSS all the same:
// the window lists the event the status line counted.
TEST_F(DollInfoTest, ObjectCelInfoListsThePairEventsTheStatusLineCounts) {
  Open(";@in(#0, #1) unmap(#0)\n;@collide(\"a.cel\", \"b.cel\") nop()\n");
  view_->StartDoll();
  const ObjectCelInfo info =
      DescribeCel(Cel(1), doc_->model(), view_->CurrentSet(), doc_->fkiss(), view_->runtime());
  EXPECT_THAT(info.status, HasSubstr("FKiSS: yes"));
  EXPECT_THAT(info.object_script, HasSubstr("in(#0, #1)\n   unmap(#0)\n"));
  EXPECT_THAT(info.cel_script, HasSubstr("collide("));
}

}  // namespace
}  // namespace luma
