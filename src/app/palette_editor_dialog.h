#ifndef LUMA_APP_PALETTE_EDITOR_DIALOG_H_
#define LUMA_APP_PALETTE_EDITOR_DIALOG_H_

#include <QDialog>
#include <QWidget>
#include <array>
#include <functional>
#include <string>

#include "core/view/palette_editor.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSlider;
class QSpinBox;

namespace luma::app {

// The cells of one palette group; a click selects a colour.
class ColorGridWidget : public QWidget {
 public:
  explicit ColorGridWidget(PaletteEditor& editor, QWidget* parent = nullptr);
  std::function<void(int index)> on_select;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  ColorGridLayout Layout() const;
  PaletteEditor& editor_;
};

// The modeless "Palette Editor" window of a doll: a thin face over the
// engine's PaletteEditor, which the doll window owns. OK applies what is
// still unapplied and closes; Cancel closes, dropping unapplied edits.
class PaletteEditorDialog : public QDialog {
 public:
  PaletteEditorDialog(PaletteEditor& editor, const QString& doll_name, QWidget* parent);
  // Shows the doll's name again and its palettes' names in its encoding.
  void SetDollTitle(const QString& doll_name);

  // Where "Append Color Groups from Other KCF" reads from (empty: cancelled)
  // and where a palette without a file is saved; the file dialogs unless set.
  void set_append_file_hook(std::function<std::string()> hook) { append_hook_ = std::move(hook); }
  void set_save_path_chooser(PaletteEditor::PathChooser chooser) {
    save_chooser_ = std::move(chooser);
  }
  // Told after anything reached the doll (the palette toolbar follows).
  void set_applied_listener(std::function<void()> listener) { applied_ = std::move(listener); }

  // Takes fresh copies of the doll's palettes and shows the window.
  void OpenEditor();
  // Shows the engine's state in every control.
  void Refresh();

  // The controls, for tests.
  QComboBox* kcf_box() const { return kcf_box_; }
  QSpinBox* groups_spin() const { return groups_; }
  QSpinBox* group_spin() const { return group_; }
  QSlider* slider(int channel) const { return channels_[channel].slider; }  // r, g, b, brightness
  QLineEdit* edit(int channel) const { return channels_[channel].edit; }
  ColorGridWidget* grid() const { return grid_; }
  QPushButton* index_button() const { return index_button_; }
  QCheckBox* immediate_box() const { return immediate_; }
  QPushButton* apply_button() const { return apply_; }
  QPushButton* append_button() const { return append_; }
  QPushButton* reset_color_button() const { return reset_color_; }
  QPushButton* reset_all_button() const { return reset_all_; }
  QPushButton* save_button() const { return save_; }

 protected:
  void done(int result) override;

 private:
  struct Channel {
    QSlider* slider = nullptr;
    QLineEdit* edit = nullptr;
  };
  QWidget* MakeChannel(int channel, const QString& label);
  void SetChannel(int channel, int value);
  void ChannelTyped(int channel);
  int ChannelValue(int channel) const;
  void PickColour();
  // After an edit: redraw the controls, and tell the owner when the doll changed.
  void Edited(bool doll_changed);

  PaletteEditor& editor_;
  QComboBox* kcf_box_ = nullptr;
  QSpinBox* groups_ = nullptr;
  QSpinBox* group_ = nullptr;
  std::array<Channel, 4> channels_;
  ColorGridWidget* grid_ = nullptr;
  QPushButton* index_button_ = nullptr;
  QCheckBox* immediate_ = nullptr;
  QPushButton* apply_ = nullptr;
  QPushButton* append_ = nullptr;
  QPushButton* reset_color_ = nullptr;
  QPushButton* reset_all_ = nullptr;
  QPushButton* save_ = nullptr;
  bool refreshing_ = false;
  std::function<std::string()> append_hook_;
  PaletteEditor::PathChooser save_chooser_;
  std::function<void()> applied_;
};

}  // namespace luma::app

#endif  // LUMA_APP_PALETTE_EDITOR_DIALOG_H_
