#include "core/view/snap_to_wizard.h"

#include "core/fkiss/fkiss_script.h"
#include "core/fkiss/snap_to.h"
#include "core/host/text.h"
#include "core/view/kiss_cnf_view.h"

namespace luma {
namespace {

constexpr char kRemovalCaption[] = "Snap-To Removal Warning";
constexpr char kRemovalQuestion[] =
    "Removal of snap-to FKiSS effects requires that, when saving the CNF, all data must be "
    "automatically reformatted by Lumadoll.\n\nThis means that, although the CNF will still "
    "function exactly the same, you will lose your formatting, spacing, and any comment line "
    "which appears on a line by itself.\n\nDo you wish to proceed?";

std::string FirstCelName(const KissObject& object) {
  for (const CelInstance* cel : object.cels) {
    if (cel->cel) return cel->cel->file_name;
  }
  return std::string();
}

}  // namespace

SnapToWizard::SnapToWizard(CKissCnfView& view) : view_(view) { Refresh(); }

std::string SnapToWizard::PickText(const Pick& pick) {
  if (pick.number < 0) return std::string();
  return StringPrintf("#%d (%s)", pick.number, pick.cel_name.c_str());
}

KissObject* SnapToWizard::Find(const Pick& pick) const {
  return pick.number < 0 ? nullptr : view_.doc().model().FindObject(pick.number, false);
}

bool SnapToWizard::PickFromView(Pick& pick) {
  const CelInstance* cel = view_.last_clicked();
  if (!cel || !cel->object) return false;
  pick.number = cel->object->number;
  pick.cel_name = cel->cel ? cel->cel->file_name : std::string();
  Refresh();
  return true;
}

bool SnapToWizard::PickParentFromView() { return PickFromView(parent_); }
bool SnapToWizard::PickChildFromView() { return PickFromView(child_); }

void SnapToWizard::PickParent(int object_number, std::string_view cel_name) {
  parent_ = Pick{object_number, std::string(cel_name)};
  Refresh();
}

void SnapToWizard::PickChild(int object_number, std::string_view cel_name) {
  child_ = Pick{object_number, std::string(cel_name)};
  Refresh();
}

std::string SnapToWizard::FindLabel() const {
  const KissObject* parent = Find(parent_);
  return parent ? StringPrintf("&Find Snap-To for #%d", parent->number) : "&Find Snap-To";
}

bool SnapToWizard::FindSnapChild() {
  const KissObject* parent = Find(parent_);
  const FkissScript* script = view_.doc().fkiss();
  if (!parent || !script) return false;
  const auto& objects = view_.doc().model().objects();
  // Start after the present child so that pressing again walks through all.
  size_t start = 0;
  for (size_t i = 0; i < objects.size(); ++i) {
    if (objects[i]->number == child_.number) start = i + 1;
  }
  for (size_t n = 0; n < objects.size(); ++n) {
    const KissObject& candidate = *objects[(start + n) % objects.size()];
    if (&candidate != parent && FindSnapTo(*script, parent, &candidate)) {
      PickChild(candidate.number, FirstCelName(candidate));
      return true;
    }
  }
  return false;
}

void SnapToWizard::Refresh() {
  can_add_ = false;
  can_remove_ = false;
  const KissObject* parent = Find(parent_);
  const KissObject* child = Find(child_);
  const FkissScript* script = view_.doc().fkiss();
  if (!parent) {
    status_ = child ? "Parent is not selected." : "Child and Parent are not selected.";
  } else if (!child) {
    status_ = "Child is not selected.";
  } else if (parent == child) {
    status_ = "Child and Parent are the same object.";
  } else if (script && FindSnapTo(*script, child, parent)) {
    status_ = "Snap-To already exists with child and parent reversed.";
    can_remove_ = true;
  } else if (script && FindSnapTo(*script, parent, child)) {
    status_ = "Snap-To exists for this child and parent.";
    can_remove_ = true;
  } else {
    const int set = view_.CurrentSet();
    status_ = StringPrintf("Ready to add Snap-To\n(%d, %d)",
                           child->position[set].x - parent->position[set].x,
                           child->position[set].y - parent->position[set].y);
    // Without a script layer there is nothing to add the effect to.
    can_add_ = script != nullptr;
  }
}

bool SnapToWizard::Add() {
  Refresh();
  if (!can_add_) return false;
  CKissCnfDoc& doc = view_.doc();
  AddSnapTo(*doc.fkiss(), doc.model(), Find(parent_), Find(child_), use_stillin_,
            view_.CurrentSet());
  if (FkissRuntime* runtime = view_.runtime()) runtime->ScriptExtended();
  Refresh();
  return true;
}

bool SnapToWizard::Remove() {
  Refresh();
  if (!can_remove_) return false;
  CKissCnfDoc& doc = view_.doc();
  if (doc.host().Ask(kRemovalCaption, kRemovalQuestion, Buttons::kYesNo, MessageIcon::kWarning) !=
      Answer::kYes) {
    return false;
  }
  const bool removed = RemoveSnapTo(*doc.fkiss(), Find(parent_), Find(child_));
  Refresh();
  return removed;
}

}  // namespace luma
