#ifndef LUMA_CORE_VIEW_SNAP_TO_WIZARD_H_
#define LUMA_CORE_VIEW_SNAP_TO_WIZARD_H_

#include <string>
#include <string_view>

#include "core/model/kiss_object.h"

namespace luma {

class CKissCnfView;

// The snap-to wizard of one doll view: a parent and a child object picked by
// the user (from the playfield), what the pair allows (add a snap-to effect,
// or remove the one that exists) and the status line that says why.
//
// Picks are kept by object number and the cel file name shown with them, so
// a doll loaded again under the wizard finds its objects anew (or not at all).
class SnapToWizard {
 public:
  explicit SnapToWizard(CKissCnfView& view);
  CKissCnfView& view() const { return view_; }

  // Picks the object of the view's last clicked cel; false when nothing was
  // clicked.
  bool PickParentFromView();
  bool PickChildFromView();
  void PickParent(int object_number, std::string_view cel_name);
  void PickChild(int object_number, std::string_view cel_name);
  // The command that picks the child names the parent it looks for.
  std::string FindLabel() const;
  // Picks as child the next object (after the present child, by number,
  // wrapping) that has a snap-to effect onto the parent. False when none has.
  bool FindSnapChild();

  // "#%d (%s)": the object number and the cel that was clicked to pick it;
  // empty when nothing is picked.
  std::string ParentText() const { return PickText(parent_); }
  std::string ChildText() const { return PickText(child_); }

  // The stillin event (on) or the in event (off) for effects to add.
  bool use_stillin() const { return use_stillin_; }
  void set_use_stillin(bool on) { use_stillin_ = on; }

  // Evaluates the picks again: the doll may have changed under the wizard.
  void Refresh();
  const std::string& status() const { return status_; }
  bool can_add() const { return can_add_; }
  bool can_remove() const { return can_remove_; }

  // Adds the snap-to effect keeping the child where it now stands relative
  // to the parent; the doll's script runs it from now on.
  bool Add();
  // Warns that the CNF will be rewritten when saved; on Yes removes the
  // effect between the two objects (in either role).
  bool Remove();

 private:
  struct Pick {
    int number = -1;  // -1: nothing picked
    std::string cel_name;
  };
  static std::string PickText(const Pick& pick);
  bool PickFromView(Pick& pick);
  KissObject* Find(const Pick& pick) const;

  CKissCnfView& view_;
  Pick parent_;
  Pick child_;
  bool use_stillin_ = false;
  std::string status_;
  bool can_add_ = false;
  bool can_remove_ = false;
};

}  // namespace luma

#endif  // LUMA_CORE_VIEW_SNAP_TO_WIZARD_H_
