// Building the main window's actions, menus and toolbars.
#include <QActionGroup>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include "app/byte_text.h"
#include "app/child_frame.h"
#include "app/command_table.h"
#include "app/main_frame.h"
#include "app/toolbar_icons.h"

namespace luma::app {
namespace {

QList<QKeySequence> Shortcuts(const char* keys) {
  QList<QKeySequence> out;
  for (const QString& part : QString(keys).split('|', Qt::SkipEmptyParts)) {
    out.append(QKeySequence::fromString(part, QKeySequence::PortableText));
  }
  return out;
}

constexpr int kCheckable[] = {
    kIdSetToolbar, kIdPaletteToolbar, kIdViewToolbar, kIdViewStatusBar,
    kIdMuteSound,  kIdMuteMusic,      kIdPauseFkiss,  kIdTraceFkiss,
};

}  // namespace

void CMainFrame::CreateActions() {
  for (const CommandInfo& info : Commands()) {
    auto* action = new QAction(QString::fromLatin1(info.text), this);
    const PromptParts prompt = SplitPrompt(info.prompt);
    action->setStatusTip(QString::fromLatin1(prompt.status.c_str()));
    if (!prompt.tip.empty()) action->setToolTip(QString::fromLatin1(prompt.tip.c_str()));
    action->setShortcuts(Shortcuts(info.keys));
    // "What's This?" help on a button or menu entry tells what it does.
    if (!prompt.status.empty()) action->setWhatsThis(action->statusTip());
    const int id = info.id;
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    actions_[id] = action;
    // Shortcuts work whichever menu is shown.
    addAction(action);
  }
  for (int id : kCheckable) actions_[id]->setCheckable(true);

  set_group_ = new QActionGroup(this);
  palette_group_ = new QActionGroup(this);
  for (int i = 0; i < 10; ++i) {
    QAction* set = actions_[kIdSet0 + i];
    set->setCheckable(true);
    set->setIcon(NumberIcon(i, false));
    set_group_->addAction(set);
    QAction* palette = actions_[kIdPalette0 + i];
    palette->setCheckable(true);
    palette->setIcon(NumberIcon(i, true));
    palette_group_->addAction(palette);
  }
  for (bool on : {false, true}) {
    sound_icons_[on] = SoundIcon(on);
    music_icons_[on] = MusicIcon(on);
  }
  bounding_group_ = new QActionGroup(this);
  for (size_t i = 0; i < std::size(kBoundingIds); ++i) {
    bounding_icons_[i] = BoundingIcon(static_cast<int>(i));
    QAction* bound = actions_[kBoundingIds[i]];
    bound->setCheckable(true);
    bound->setIcon(bounding_icons_[i]);
    bounding_group_->addAction(bound);
  }

  actions_[kIdFileOpen]->setIcon(GlyphIcon(Glyph::kOpen));
  actions_[kIdZoomIn]->setIcon(GlyphIcon(Glyph::kZoomIn));
  actions_[kIdZoomOut]->setIcon(GlyphIcon(Glyph::kZoomOut));
  actions_[kIdZoomHome]->setIcon(GlyphIcon(Glyph::kZoomHome));
  actions_[kIdFitWindow]->setIcon(GlyphIcon(Glyph::kFitWindow));
  actions_[kIdZoomFit]->setIcon(GlyphIcon(Glyph::kZoomFit));
  actions_[kIdEditUndo]->setIcon(GlyphIcon(Glyph::kUndo));
  actions_[kIdEditRedo]->setIcon(GlyphIcon(Glyph::kRedo));
  actions_[kIdErrorReport]->setIcon(GlyphIcon(Glyph::kErrorReport));
  actions_[kIdSetInfo]->setIcon(GlyphIcon(Glyph::kSetInfo));
  actions_[kIdFindFkiss]->setIcon(GlyphIcon(Glyph::kFindFkiss));
  actions_[kIdPauseFkiss]->setIcon(GlyphIcon(Glyph::kPauseFkiss));
  actions_[kIdCreateScreenshot]->setIcon(GlyphIcon(Glyph::kScreenshot));
  actions_[kIdObjectInfo]->setIcon(GlyphIcon(Glyph::kObjectInfo));
  actions_[kIdCelInfo]->setIcon(GlyphIcon(Glyph::kCelInfo));
  actions_[kIdSaveThumbnail]->setIcon(GlyphIcon(Glyph::kThumbnail));
  actions_[kIdBuildLzh]->setIcon(GlyphIcon(Glyph::kBuildLzh));
  actions_[kIdContextHelp]->setIcon(style()->standardIcon(QStyle::SP_TitleBarContextHelpButton));
  actions_[kIdReset]->setIcon(GlyphIcon(Glyph::kReset));
  actions_[kIdAppExit]->setMenuRole(QAction::QuitRole);

  for (int i = 0; i < RecentFiles::kMaxFiles; ++i) {
    auto* action = new QAction(this);
    action->setStatusTip(kRecentFilePrompt);
    action->setVisible(false);
    connect(action, &QAction::triggered, this, [this, i] {
      if (i < recent_.files().size()) OpenDocumentFile(recent_.files()[i]);
    });
    recent_actions_.push_back(action);
  }
}

QMenu* CMainFrame::CreateRecentFileSection(QMenu* file_menu) {
  for (QAction* action : recent_actions_) file_menu->addAction(action);
  return file_menu;
}

void CMainFrame::RebuildRecentFileMenu() {
  const QStringList& files = recent_.files();
  for (int i = 0; i < RecentFiles::kMaxFiles; ++i) {
    QAction* action = recent_actions_[i];
    if (i < files.size()) {
      action->setText(RecentFiles::MenuText(i, files[i]));
      action->setVisible(true);
    } else {
      action->setVisible(false);
    }
  }
}

void CMainFrame::CreateMenus() {
  auto add = [this](QMenu* menu, std::initializer_list<int> ids) {
    for (int id : ids) {
      if (id == 0) {
        menu->addSeparator();
      } else {
        menu->addAction(actions_.at(id));
      }
    }
  };
  auto menu = [this](const char* title) { return new QMenu(QString::fromLatin1(title), this); };

  // Without a doll: open, options, muting and help only.
  QMenu* file = menu("&File");
  add(file, {kIdFileOpen, 0});
  CreateRecentFileSection(file);
  add(file, {0, kIdAppExit});
  QMenu* view = menu("&View");
  add(view, {kIdViewToolbar, kIdSetToolbar, kIdPaletteToolbar, kIdViewStatusBar});
  QMenu* tools = menu("&Tools");
  add(tools, {kIdOptions, 0, kIdMuteSound, kIdMuteMusic});
  QMenu* help = menu("&Help");
  add(help, {kIdHelpTopics, kIdContextHelp, kIdShowTips, kIdTroubleshooting, 0, kIdBugReport, 0,
             kIdAppAbout});
  no_doll_menus_ = {file, view, tools, help};

  // With a doll open.
  QMenu* doll_file = menu("&File");
  add(doll_file, {kIdFileOpen, kIdOpenExpansion, kIdOpenOtherCnf, kIdReloadCnf, kIdFileClose, 0,
                  kIdFileSaveAs, kIdBuildLzh, 0, kIdSaveThumbnail, kIdCreateScreenshot, 0});
  CreateRecentFileSection(doll_file);
  add(doll_file, {0, kIdAppExit});
  QMenu* edit = menu("&Edit");
  add(edit, {kIdEditUndo, kIdEditRedo, 0, kIdEditCopy});
  QMenu* doll_view = menu("&View");
  add(doll_view, {kIdViewToolbar, kIdSetToolbar, kIdPaletteToolbar, kIdViewStatusBar, 0, kIdZoomIn,
                  kIdZoomOut, kIdZoomHome, kIdZoomFit, kIdFitWindow, 0});
  QMenu* sets = doll_view->addMenu("S&ets");
  for (int i = 0; i < 10; ++i) sets->addAction(actions_[kIdSet0 + i]);
  add(sets, {0, kIdPreviousSet, kIdNextSet});
  QMenu* palettes = doll_view->addMenu("&Palettes");
  for (int i = 0; i < 10; ++i) palettes->addAction(actions_[kIdPalette0 + i]);
  add(palettes, {0, kIdPreviousPalette, kIdNextPalette});
  QMenu* bounds = doll_view->addMenu("&Bounding");
  add(bounds, {kIdBoundAll, kIdBoundFkiss, kIdBoundLimited, kIdBoundVisible, kIdBoundNone});
  QMenu* fkiss = menu("F&KiSS");
  add(fkiss, {kIdFindFkiss, kIdTraceFkiss, kIdPauseFkiss, 0, kIdVariables, kIdDisplayDebug, 0,
              kIdSnapToWizard});
  QMenu* doll_tools = menu("&Tools");
  add(doll_tools,
      {kIdOptions, 0, kIdErrorReport, kIdSetInfo, kIdObjectCelInfo, kIdLocate, 0, kIdReset,
       kIdResetAllPositions, kIdCopyPosition, kIdCopyAllPositions, kIdPatrolBounds,
       kIdFindBorderViolators, 0, kIdPaletteEditor, 0, kIdMuteSound, kIdMuteMusic});
  window_menu_ = menu("&Window");
  connect(window_menu_, &QMenu::aboutToShow, this, [this] {
    window_menu_->clear();
    for (int id : {kIdWindowCascade, kIdWindowTileHorizontal, kIdWindowTileVertical,
                   kIdWindowArrange, kIdNextKissSet}) {
      window_menu_->addAction(actions_[id]);
    }
    const QList<QMdiSubWindow*> windows = mdi_->subWindowList();
    if (!windows.isEmpty()) window_menu_->addSeparator();
    for (int i = 0; i < windows.size(); ++i) {
      QMdiSubWindow* sub = windows[i];
      QAction* item = window_menu_->addAction(QString("&%1 %2").arg(i + 1).arg(sub->windowTitle()));
      item->setCheckable(true);
      item->setChecked(sub == mdi_->activeSubWindow());
      connect(item, &QAction::triggered, sub, [this, sub] { mdi_->setActiveSubWindow(sub); });
    }
  });
  documentation_menu_ = menu("&Documentation");
  add(documentation_menu_, {kIdViewCnf});
  connect(documentation_menu_, &QMenu::aboutToShow, this, [this] { RebuildDocumentationMenu(); });
  QMenu* doll_help = menu("&Help");
  add(doll_help, {kIdHelpTopics, kIdContextHelp, kIdShowTips, kIdTroubleshooting, 0, kIdBugReport,
                  0, kIdAppAbout});
  doll_menus_ = {doll_file,  edit,         doll_view,           fkiss,
                 doll_tools, window_menu_, documentation_menu_, doll_help};

  RebuildRecentFileMenu();
  doll_menus_shown_ = true;
  ShowMenusFor(false);
}

void CMainFrame::RebuildDocumentationMenu() {
  documentation_menu_->clear();
  documentation_menu_->addAction(actions_[kIdViewCnf]);
  CChildFrame* child = ActiveChild();
  if (!child) return;
  const std::vector<std::string> entries = child->view().DocumentationEntries();
  for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
    QAction* item = documentation_menu_->addAction(FromBytes(entries[i]));
    QPointer<CChildFrame> target(child);
    connect(item, &QAction::triggered, this, [target, i] {
      if (target) target->view().OpenDocumentation(i);
    });
  }
}

void CMainFrame::ShowMenusFor(bool doll_open) {
  if (doll_open == doll_menus_shown_) return;
  doll_menus_shown_ = doll_open;
  menuBar()->clear();
  for (QMenu* m : doll_open ? doll_menus_ : no_doll_menus_) menuBar()->addMenu(m);
}

std::vector<QMenu*> CMainFrame::current_menus() const {
  return doll_menus_shown_ ? doll_menus_ : no_doll_menus_;
}

void CMainFrame::CreateToolbars() {
  main_toolbar_ = addToolBar("Toolbar");
  main_toolbar_->setObjectName("MainToolbar");
  for (int id : std::initializer_list<int>{kIdFileOpen, 0, kIdEditUndo, kIdEditRedo, 0, kIdZoomIn,
                                           kIdZoomOut, kIdZoomHome, kIdZoomFit, kIdFitWindow, 0}) {
    if (id == 0) {
      main_toolbar_->addSeparator();
    } else {
      main_toolbar_->addAction(actions_[id]);
    }
  }

  // The three drop-down buttons: a click toggles (or cycles), the arrow
  // offers the states, and the picture shows the state in force.
  auto drop_down = [this](QMenu* menu, int click_id) {
    auto* button = new QToolButton(this);
    button->setPopupMode(QToolButton::MenuButtonPopup);
    button->setMenu(menu);
    connect(button, &QToolButton::clicked, this, [this, click_id] { OnCommand(click_id); });
    main_toolbar_->addWidget(button);
    return button;
  };
  auto state_menu = [this](const char* on_text, const char* off_text, auto set_enabled) {
    auto* menu = new QMenu(this);
    auto* group = new QActionGroup(menu);
    for (bool on : {true, false}) {
      QAction* item = menu->addAction(on ? on_text : off_text);
      item->setCheckable(true);
      item->setData(on);
      group->addAction(item);
      connect(item, &QAction::triggered, this, [set_enabled, on] { set_enabled(on); });
    }
    return menu;
  };
  sound_button_ = drop_down(
      state_menu("Sound enabled", "Sound disabled", [this](bool on) { SetSoundEnabled(on); }),
      kIdMuteSound);
  music_button_ = drop_down(
      state_menu("Music enabled", "Music disabled", [this](bool on) { SetMusicEnabled(on); }),
      kIdMuteMusic);
  auto* bounding_menu = new QMenu(this);
  for (int id : kBoundingIds) bounding_menu->addAction(actions_[id]);
  bounding_button_ = drop_down(bounding_menu, kIdBoundCycle);

  main_toolbar_->addSeparator();
  for (int id : std::initializer_list<int>{
           kIdErrorReport, kIdSetInfo, kIdObjectInfo, kIdCelInfo, kIdFindFkiss, kIdPauseFkiss, 0,
           kIdSaveThumbnail, kIdCreateScreenshot, kIdBuildLzh, kIdReset, 0, kIdContextHelp}) {
    if (id == 0) {
      main_toolbar_->addSeparator();
    } else {
      main_toolbar_->addAction(actions_[id]);
    }
  }

  addToolBarBreak();
  set_toolbar_ = addToolBar("Sets");
  set_toolbar_->setObjectName("SetToolbar");
  palette_toolbar_ = addToolBar("Palettes");
  palette_toolbar_->setObjectName("PaletteToolbar");
  for (int i = 0; i < 10; ++i) {
    set_toolbar_->addAction(actions_[kIdSet0 + i]);
    palette_toolbar_->addAction(actions_[kIdPalette0 + i]);
  }
  for (QToolBar* bar : {main_toolbar_, set_toolbar_, palette_toolbar_}) {
    bar->setIconSize(QSize(20, 20));
  }
}

}  // namespace luma::app
