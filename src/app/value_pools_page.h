#ifndef LUMA_APP_VALUE_POOLS_PAGE_H_
#define LUMA_APP_VALUE_POOLS_PAGE_H_

#include <QWidget>

#include "core/doll/value_pool_commands.h"
#include "core/host/settings.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace luma {
class Host;
}

namespace luma::app {

// The "Value Pools" page of the options: the stored public and private
// pools, deleting chosen ones or all of them (at once, after asking through
// the Host), and the settings for deleting pools left unused.
class ValuePoolsPage : public QWidget {
 public:
  ValuePoolsPage(const Settings& settings, Host& host, QWidget* parent = nullptr);

  void TakeValues(Settings& settings) const;

  // Reads the pool folder again and shows what is there.
  void Refresh();
  // The Delete buttons.
  void DeleteSelected(bool private_list);
  // "Delete All Value Pools Now".
  void DeleteAll();

  QListWidget* list(bool private_list) const { return private_list ? private_ : public_; }
  QLabel* empty_text(bool private_list) const {
    return private_list ? private_empty_ : public_empty_;
  }
  QPushButton* delete_button(bool private_list) const {
    return private_list ? delete_private_ : delete_public_;
  }
  QPushButton* delete_all_button() const { return delete_all_; }
  QCheckBox* expire_box() const { return expire_; }
  QSpinBox* expire_age() const { return age_; }
  QButtonGroup* expire_unit() const { return unit_; }

 private:
  void Fill(bool private_list);

  ValuePoolCommands pools_;
  QListWidget* public_ = nullptr;
  QListWidget* private_ = nullptr;
  QLabel* public_empty_ = nullptr;
  QLabel* private_empty_ = nullptr;
  QPushButton* delete_public_ = nullptr;
  QPushButton* delete_private_ = nullptr;
  QPushButton* delete_all_ = nullptr;
  QCheckBox* expire_ = nullptr;
  QSpinBox* age_ = nullptr;
  QButtonGroup* unit_ = nullptr;
};

}  // namespace luma::app

#endif  // LUMA_APP_VALUE_POOLS_PAGE_H_
