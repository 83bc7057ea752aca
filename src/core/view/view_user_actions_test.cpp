// What the doll makes of a user's clicks, keys, waits and commands, in the
// order a user gives them.
#include <gtest/gtest.h>

#include "core/fkiss/key_codes.h"
#include "core/render/scene_picture.h"
#include "core/testing/image_files.h"
#include "core/testing/played_doll.h"

namespace luma {
namespace {

using testing::PlayedDoll;

TEST(ViewUserActionsTest, MouseEventsRunInOrderOnCelObjectAndCelSet) {
  PlayedDoll doll;
  doll.set_tracing(true);
  ASSERT_TRUE(doll.Open(doll.Write(
      "(100,60)\n#0 a.cel :0 ;!grp\n#1.1 b.cel :0\n$0 10,10 30,10\n;@EventHandler\n"
      ";@press(\"a.cel\") nop()\n;@press(#0) nop()\n;@press(!grp) nop()\n;@catch(#0) nop()\n"
      ";@release(!grp) nop()\n;@release(#0) nop()\n"
      ";@drop(#0) nop()\n;@drop(\"a.cel\") nop()\n;@fixdrop(#0) nop()\n"
      ";@press(#1) nop()\n;@catch(#1) nop()\n;@fixcatch(#1) nop()\n;@unfix(#1) nop()\n"
      ";@release(#1) nop()\n;@fixdrop(#1) nop()\n;@drop(#1) nop()\n",
      {{"a.cel", PlayedDoll::Block(4, 4)}, {"b.cel", PlayedDoll::Block(4, 4)}})));
  doll.Press(11, 11);
  doll.Release();
  doll.Press(31, 11);
  doll.Release();
  // Events start a trace line; their actions are indented beneath.
  std::string events;
  for (const std::string& line : doll.trace()) {
    if (!line.empty() && line[0] != ' ') events += line + " ";
  }
  EXPECT_EQ(events,
            "press(\"a.cel\") press(#0) press(\"grp\") catch(#0) release(#0) release(\"grp\") "
            "drop(\"a.cel\") drop(#0) "
            "press(#1) catch(#1) unfix(#1) release(#1) drop(#1) ");
}

TEST(ViewUserActionsTest, ResetPutsEverySetBack) {
  PlayedDoll doll;
  ASSERT_TRUE(doll.Open(doll.Write("(100,60)\n#0 a.cel :0 1\n$0 10,10\n$1 20,20\n",
                                   {{"a.cel", PlayedDoll::Block(4, 4)}})));
  doll.view().SelectSet(1);
  std::string seen = doll.Positions();
  doll.Press(21, 21);
  doll.Move(31, 41);
  doll.Release();
  seen += doll.Positions();
  doll.Reset();
  doll.view().SelectSet(1);
  seen += doll.Positions();
  EXPECT_EQ(seen, "#0 20,20\n#0 30,40\n#0 20,20\n");
}

TEST(ViewUserActionsTest, KeysAlarmsAndZoomReachTheDoll) {
  PlayedDoll doll;
  ASSERT_TRUE(doll.Open(
      doll.Write("(100,60)\n#0 a.cel :0\n#1 b.cel :0\n#2 c.cel :1\n$0 10,10 30,10 50,10\n"
                 "$1 10,10 30,10 50,10\n;@EventHandler\n"
                 ";@begin() timer(1, 100)\n;@alarm(1) let(rang, 1)\n;@keypress(\"a\") unmap(#0)\n"
                 ";@keyrelease(\"a\") let(up, 1)\n",
                 {{"a.cel", PlayedDoll::Block(4, 4)},
                  {"b.cel", PlayedDoll::Block(4, 4)},
                  {"c.cel", PlayedDoll::Block(4, 4)}})));
  CKissCnfView& view = doll.view();
  doll.Wait(90);
  std::string seen = doll.Var("rang");
  doll.Wait(20);
  seen += doll.Var("rang") + doll.Mapped();
  view.KeyDown(KeyCodeFromName("a"), false);
  seen += doll.Mapped();
  view.KeyUp(KeyCodeFromName("A"));
  seen += doll.Var("up");
  view.SelectSet(1);
  seen += doll.Mapped();
  // Only the cels the current set shows are listed.
  EXPECT_EQ(seen, "rang = 0\nrang = 1\na.cel\nb.cel\nb.cel\nup = 1\nc.cel\n");
  view.SetZoom(1);
  const Result<Image> zoomed =
      RenderScenePicture(doll.device(), view.CurrentScene(), view.zoom_level(), 0, 0);
  ASSERT_TRUE(zoomed.ok()) << zoomed.status().message();
  EXPECT_EQ(zoomed->width, 50);  // zoom level 1 shows half
  EXPECT_EQ(zoomed->height, 30);
}

TEST(ViewUserActionsTest, UndoAndRedoPutDraggedObjectsBackWhereTheyStood) {
  // #0 starts partly left of the playfield; a drag pulls it inside, and
  // undoing the drag puts it back out there, where the doll placed it.
  PlayedDoll doll;
  ASSERT_TRUE(doll.Open(
      doll.Write("(100,80)\n#0 a.cel :0\n#1 b.cel :0\n$0 -5,10 50,50\n",
                 {{"a.cel", PlayedDoll::Block(10, 10)}, {"b.cel", PlayedDoll::Block(10, 10)}})));
  CKissCnfView& view = doll.view();
  doll.Press(2, 15);
  doll.Move(30, 20);
  doll.Release();
  std::string seen = doll.Positions();
  doll.Press(52, 52);
  doll.Move(99, 79);
  doll.Release();
  seen += doll.Positions();
  for (int i = 0; i < 3; ++i) {
    view.Undo();
    seen += doll.Positions();
  }
  for (int i = 0; i < 3; ++i) {
    view.Redo();
    seen += doll.Positions();
  }
  EXPECT_EQ(seen,
            "#0 23,15\n#1 50,50\n"
            "#0 23,15\n#1 90,70\n"
            "#0 23,15\n#1 50,50\n"
            "#0 -5,10\n#1 50,50\n"
            "#0 -5,10\n#1 50,50\n"  // nothing more to undo
            "#0 23,15\n#1 50,50\n"
            "#0 23,15\n#1 90,70\n"
            "#0 23,15\n#1 90,70\n");
}

TEST(ViewUserActionsTest, ReloadingKeepsTheTexturesCounterFlat) {
  // Palettes emulated: a.cel used with a second palette has a clone, made
  // afresh by every reload.
  PlayedDoll doll;
  doll.settings().force_palette = true;
  std::vector<uint32_t> colors(16, 0x0000FF);
  colors[0] = 0;
  ASSERT_TRUE(doll.Open(doll.Write(
      "%q.kcf\n(100,60)\n#0 a.cel *0 :0\n#1 b.cel *0 :0\n#2 a.cel *1 :0\n$0 10,10 20,20 30,30\n",
      {{"a.cel", PlayedDoll::Block(40, 20)},
       {"b.cel", PlayedDoll::Block(20, 10)},
       {"q.kcf", testing::MakeKcf({colors})}})));
  const TexturePool& textures = doll.doc().textures();
  EXPECT_EQ(textures.texture_count(), 3);
  doll.Press(12, 12);
  doll.Move(40, 40);
  doll.Release();
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(doll.Reload());
  EXPECT_EQ(textures.texture_count(), 3);
  EXPECT_EQ(doll.Positions(), "#0 10,10\n#1 20,20\n#2 30,30\n");
}

}  // namespace
}  // namespace luma
