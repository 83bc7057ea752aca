#include "app/value_pools_page.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <climits>
#include <vector>

namespace luma::app {
namespace {

QListWidget* PoolList() {
  auto* list = new QListWidget;
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->setMinimumHeight(80);
  return list;
}

QLabel* EmptyText(const char* text) {
  auto* label = new QLabel(text);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignCenter);
  label->setFrameStyle(QFrame::Box | QFrame::Sunken);
  label->setMinimumHeight(80);
  return label;
}

}  // namespace

ValuePoolsPage::ValuePoolsPage(const Settings& settings, Host& host, QWidget* parent)
    : QWidget(parent), pools_(host) {
  public_ = PoolList();
  private_ = PoolList();
  public_empty_ = EmptyText("There are no public value pools currently stored on this computer.");
  private_empty_ = EmptyText("There are no private value pools currently stored on this computer.");
  delete_public_ = new QPushButton("Delete");
  delete_private_ = new QPushButton("Delete");
  connect(delete_public_, &QPushButton::clicked, this, [this] { DeleteSelected(false); });
  connect(delete_private_, &QPushButton::clicked, this, [this] { DeleteSelected(true); });
  delete_all_ = new QPushButton("Delete All Value Pools Now");
  connect(delete_all_, &QPushButton::clicked, this, [this] { DeleteAll(); });

  auto* lists = new QGridLayout;
  lists->addWidget(new QLabel("Public Value Pools:"), 0, 0);
  lists->addWidget(new QLabel("Private Value Pools:"), 0, 1);
  lists->addWidget(public_, 1, 0);
  lists->addWidget(public_empty_, 1, 0);
  lists->addWidget(private_, 1, 1);
  lists->addWidget(private_empty_, 1, 1);
  lists->addWidget(delete_public_, 2, 0, Qt::AlignLeft);
  lists->addWidget(delete_private_, 2, 1, Qt::AlignLeft);

  expire_ = new QCheckBox("&Automatically delete Value Pools which  have not been accessed for:");
  expire_->setChecked(settings.pool_auto_expire);
  age_ = new QSpinBox;
  age_->setRange(1, INT_MAX);
  age_->setMaximumWidth(100);
  age_->setValue(settings.pool_expire);
  unit_ = new QButtonGroup(this);
  auto* days = new QRadioButton("&Days");
  auto* months = new QRadioButton("&Months");
  unit_->addButton(days, 0);
  unit_->addButton(months, 1);
  (settings.pool_day_month == 0 ? days : months)->setChecked(true);
  auto* age_row = new QHBoxLayout;
  age_row->addSpacing(20);
  age_row->addWidget(age_);
  age_row->addWidget(days);
  age_row->addWidget(months);
  age_row->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(lists, 1);
  layout->addWidget(delete_all_, 0, Qt::AlignLeft);
  layout->addSpacing(8);
  layout->addWidget(expire_);
  layout->addLayout(age_row);
  Refresh();
}

void ValuePoolsPage::TakeValues(Settings& settings) const {
  settings.pool_auto_expire = expire_->isChecked();
  settings.pool_expire = age_->value();
  settings.pool_day_month = unit_->checkedId() == 0 ? 0 : 1;
}

void ValuePoolsPage::Refresh() {
  pools_.Refresh();
  Fill(false);
  Fill(true);
}

void ValuePoolsPage::Fill(bool private_list) {
  const std::vector<PoolListEntry>& pools =
      private_list ? pools_.pools().private_pools() : pools_.pools().public_pools();
  QListWidget* list = this->list(private_list);
  list->clear();
  for (const PoolListEntry& pool : pools) {
    list->addItem(QString::fromStdString(pool.display_name));
  }
  const bool any = !pools.empty();
  list->setVisible(any);
  empty_text(private_list)->setVisible(!any);
  delete_button(private_list)->setEnabled(any);
}

void ValuePoolsPage::DeleteSelected(bool private_list) {
  std::vector<int> rows;
  for (const QModelIndex& index : list(private_list)->selectionModel()->selectedRows()) {
    rows.push_back(index.row());
  }
  if (rows.empty()) return;
  pools_.DeleteSelected(private_list, rows);
  Refresh();
}

void ValuePoolsPage::DeleteAll() {
  pools_.DeleteAll();
  Refresh();
}

}  // namespace luma::app
