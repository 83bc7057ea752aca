#include "core/host/memory_file_system.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

namespace luma {
namespace {

Status Reason(int error) { return Status::Error(std::strerror(error)); }

std::string ParentOf(const std::string& key) {
  const size_t slash = key.find_last_of('/');
  return slash == 0 ? std::string("/") : key.substr(0, slash);
}

// The prefix every key inside the folder `key` starts with.
std::string InsidePrefix(const std::string& key) { return key == "/" ? key : key + "/"; }

}  // namespace

struct MemoryFileSystem::Node {
  bool folder = false;
  std::vector<uint8_t> bytes;
  std::time_t modified = 0;
  std::time_t accessed = 0;
  uint32_t permissions = 0;
};

class MemoryFileSystem::ReadHandle : public ReadableFile {
 public:
  ReadHandle(std::shared_ptr<const Node> node, FileStatus status)
      : node_(std::move(node)), status_(status) {}

  const FileStatus& status() const override { return status_; }

  Result<size_t> Read(std::span<uint8_t> buffer) override {
    if (node_->folder) return Reason(EISDIR);
    if (position_ >= node_->bytes.size()) return size_t{0};
    const size_t n = std::min(buffer.size(), node_->bytes.size() - position_);
    std::copy_n(node_->bytes.begin() + static_cast<ptrdiff_t>(position_), n, buffer.begin());
    position_ += n;
    return n;
  }

 private:
  std::shared_ptr<const Node> node_;
  FileStatus status_;
  size_t position_ = 0;
};

class MemoryFileSystem::File : public WritableFile {
 public:
  File(MemoryFileSystem& owner, std::shared_ptr<Node> node)
      : owner_(owner), node_(std::move(node)) {}

  Status Write(std::span<const uint8_t> bytes) override {
    if (!node_) return Reason(EBADF);
    size_t done = 0;
    Status written = owner_.WriteInto(*node_, position_, bytes, &done);
    position_ += done;
    return written;
  }

  Status WriteAt(uint64_t offset, std::span<const uint8_t> bytes) override {
    if (!node_) return Reason(EBADF);
    size_t done = 0;
    return owner_.WriteInto(*node_, offset, bytes, &done);
  }

  Status SetPermissions(uint32_t permissions) override {
    if (!node_) return Reason(EBADF);
    node_->permissions = permissions & 07777;
    return Status::Ok();
  }

  Status Sync() override { return node_ ? Status::Ok() : Reason(EBADF); }

  Status Close() override {
    node_.reset();
    return Status::Ok();
  }

 private:
  MemoryFileSystem& owner_;
  std::shared_ptr<Node> node_;
  uint64_t position_ = 0;
};

MemoryFileSystem::MemoryFileSystem() {
  auto root = std::make_shared<Node>();
  root->folder = true;
  root->permissions = 0755;
  nodes_.emplace("/", std::move(root));
}

MemoryFileSystem::~MemoryFileSystem() = default;

std::string MemoryFileSystem::Normalize(const std::string& path) {
  std::vector<std::string_view> parts;
  std::string_view rest = path;
  while (!rest.empty()) {
    const size_t slash = rest.find('/');
    const std::string_view part = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  if (parts.empty()) return "/";
  std::string key;
  for (const std::string_view part : parts) {
    key += '/';
    key += part;
  }
  return key;
}

MemoryFileSystem::Node* MemoryFileSystem::Find(const std::string& key) const {
  const auto it = nodes_.find(key);
  return it == nodes_.end() ? nullptr : it->second.get();
}

Status MemoryFileSystem::CheckParent(const std::string& key) const {
  if (key == "/") return Status::Ok();
  const Node* parent = Find(ParentOf(key));
  if (parent == nullptr) return Reason(ENOENT);
  if (!parent->folder) return Reason(ENOTDIR);
  return Status::Ok();
}

std::time_t MemoryFileSystem::Now() const { return now_ ? *now_ : std::time(nullptr); }

uint64_t MemoryFileSystem::used() const {
  uint64_t total = 0;
  for (const auto& [key, node] : nodes_) total += node->bytes.size();
  return total;
}

Status MemoryFileSystem::WriteInto(Node& node, uint64_t offset, std::span<const uint8_t> bytes,
                                   size_t* done) {
  uint64_t end = offset + bytes.size();
  bool full = false;
  if (capacity_ && end > node.bytes.size()) {
    const uint64_t in_use = used();
    const uint64_t room = *capacity_ > in_use ? *capacity_ - in_use : 0;
    if (end - node.bytes.size() > room) {
      end = node.bytes.size() + room;
      full = true;
    }
  }
  *done = end > offset ? static_cast<size_t>(end - offset) : 0;
  if (*done > 0) {
    if (end > node.bytes.size()) node.bytes.resize(end);
    std::copy_n(bytes.begin(), *done, node.bytes.begin() + static_cast<ptrdiff_t>(offset));
  }
  node.modified = Now();
  return full ? Reason(ENOSPC) : Status::Ok();
}

Result<std::unique_ptr<ReadableFile>> MemoryFileSystem::OpenForReading(const std::string& path) {
  const std::string key = Normalize(path);
  const auto it = nodes_.find(key);
  if (it == nodes_.end()) {
    Status parent = CheckParent(key);
    return parent.ok() ? Reason(ENOENT) : parent;
  }
  Result<FileStatus> status = Stat(key);
  return std::unique_ptr<ReadableFile>(std::make_unique<ReadHandle>(it->second, *status));
}

Result<FileStatus> MemoryFileSystem::Stat(const std::string& path) {
  const Node* node = Find(Normalize(path));
  FileStatus status;
  if (node == nullptr) return status;
  status.kind = node->folder ? FileKind::kDirectory : FileKind::kRegular;
  status.size = node->bytes.size();
  status.modified = node->modified;
  status.accessed = node->accessed;
  status.permissions = node->permissions;
  return status;
}

Result<FileStatus> MemoryFileSystem::StatNoFollow(const std::string& path) { return Stat(path); }

Result<std::vector<std::string>> MemoryFileSystem::ListFolder(const std::string& path) {
  const std::string key = Normalize(path);
  const Node* node = Find(key);
  if (node == nullptr) return Reason(ENOENT);
  if (!node->folder) return Reason(ENOTDIR);
  const std::string prefix = InsidePrefix(key);
  std::vector<std::string> names;
  for (auto it = nodes_.upper_bound(prefix); it != nodes_.end(); ++it) {
    const std::string_view inner = it->first;
    if (inner.substr(0, prefix.size()) != prefix) break;
    const std::string_view name = inner.substr(prefix.size());
    if (name.find('/') == std::string_view::npos) names.emplace_back(name);
  }
  return names;
}

Result<std::unique_ptr<WritableFile>> MemoryFileSystem::CreateNewFile(const std::string& path,
                                                                      uint32_t permissions) {
  const std::string key = Normalize(path);
  if (Find(key) != nullptr) return std::unique_ptr<WritableFile>();
  if (Status parent = CheckParent(key); !parent.ok()) return parent;
  auto node = std::make_shared<Node>();
  node->permissions = permissions & 07777;
  node->modified = node->accessed = Now();
  nodes_.emplace(key, node);
  return std::unique_ptr<WritableFile>(std::make_unique<File>(*this, std::move(node)));
}

Result<std::unique_ptr<WritableFile>> MemoryFileSystem::OpenForWriting(const std::string& path) {
  const auto it = nodes_.find(Normalize(path));
  if (it == nodes_.end()) return Reason(ENOENT);
  if (it->second->folder) return Reason(EISDIR);
  return std::unique_ptr<WritableFile>(std::make_unique<File>(*this, it->second));
}

Status MemoryFileSystem::Rename(const std::string& from, const std::string& to) {
  const std::string source = Normalize(from);
  const std::string target = Normalize(to);
  const Node* moved = Find(source);
  if (moved == nullptr) return Reason(ENOENT);
  if (Status parent = CheckParent(target); !parent.ok()) return parent;
  if (rename_fails_) return Reason(EIO);
  if (source == target) return Status::Ok();
  if (source == "/" || target.rfind(InsidePrefix(source), 0) == 0) return Reason(EINVAL);
  if (const Node* replaced = Find(target)) {
    if (replaced->folder && !moved->folder) return Reason(EISDIR);
    if (!replaced->folder && moved->folder) return Reason(ENOTDIR);
    if (replaced->folder) {
      Result<std::vector<std::string>> inside = ListFolder(target);
      if (!inside.ok() || !inside->empty()) return Reason(ENOTEMPTY);
    }
  }
  // The node and, for a folder, everything inside it move.
  std::vector<std::pair<std::string, std::shared_ptr<Node>>> moving;
  moving.emplace_back(target, nodes_[source]);
  const std::string prefix = InsidePrefix(source);
  for (auto it = nodes_.upper_bound(prefix);
       it != nodes_.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it) {
    moving.emplace_back(InsidePrefix(target) + it->first.substr(prefix.size()), it->second);
  }
  nodes_.erase(source);
  for (auto it = nodes_.upper_bound(prefix);
       it != nodes_.end() && it->first.compare(0, prefix.size(), prefix) == 0;) {
    it = nodes_.erase(it);
  }
  for (auto& [key, node] : moving) nodes_[key] = std::move(node);
  return Status::Ok();
}

Status MemoryFileSystem::Remove(const std::string& path) {
  const auto it = nodes_.find(Normalize(path));
  if (it == nodes_.end()) return Reason(ENOENT);
  if (it->second->folder) return Reason(EISDIR);
  nodes_.erase(it);
  return Status::Ok();
}

Status MemoryFileSystem::CreateFolder(const std::string& path) {
  const std::string key = Normalize(path);
  if (const Node* node = Find(key)) return node->folder ? Status::Ok() : Reason(EEXIST);
  if (Status parent = CheckParent(key); !parent.ok()) return parent;
  auto node = std::make_shared<Node>();
  node->folder = true;
  node->permissions = 0755;
  node->modified = node->accessed = Now();
  nodes_.emplace(key, std::move(node));
  return Status::Ok();
}

Status MemoryFileSystem::SetTimes(const std::string& path, std::time_t modified,
                                  std::time_t accessed) {
  Node* node = Find(Normalize(path));
  if (node == nullptr) return Reason(ENOENT);
  node->modified = modified;
  node->accessed = accessed;
  return Status::Ok();
}

}  // namespace luma
