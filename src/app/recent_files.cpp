#include "app/recent_files.h"

#include <QDir>
#include <QFile>

namespace luma::app {
namespace {

constexpr char kSection[] = "Recent File List";
constexpr int kMaxMenuChars = 60;

std::string EntryName(int index) { return "File" + std::to_string(index + 1); }

}  // namespace

void RecentFiles::Load(const SettingsStore& store) {
  files_.clear();
  for (int i = 0; i < kMaxFiles; ++i) {
    const auto value = store.ReadString(kSection, EntryName(i));
    if (!value || value->empty()) continue;
    const QString path = QFile::decodeName(QByteArray::fromStdString(*value));
    if (!files_.contains(path)) files_.append(path);
  }
}

void RecentFiles::Save(SettingsStore& store) const {
  for (int i = 0; i < kMaxFiles; ++i) {
    if (i < files_.size()) {
      store.WriteString(kSection, EntryName(i), QFile::encodeName(files_[i]).toStdString());
    } else {
      store.Remove(kSection, EntryName(i));
    }
  }
}

void RecentFiles::Add(const QString& path) {
  files_.removeAll(path);
  files_.prepend(path);
  while (files_.size() > kMaxFiles) files_.removeLast();
}

void RecentFiles::Remove(const QString& path) { files_.removeAll(path); }

QString RecentFiles::MenuText(int index, const QString& path) {
  QString shown = QDir::toNativeSeparators(path);
  const QString home = QDir::homePath();
  if (!home.isEmpty() && home != "/" && shown.startsWith(home + '/')) {
    shown = '~' + shown.mid(home.size());
  }
  if (shown.size() > kMaxMenuChars) {
    const int keep = (kMaxMenuChars - 3) / 2;
    shown = shown.left(keep) + "..." + shown.right(keep);
  }
  shown.replace('&', "&&");
  const QString number = index < 9 ? QString("&%1").arg(index + 1) : QString::number(index + 1);
  return number + ' ' + shown;
}

}  // namespace luma::app
