#include "core/fkiss/value_pools.h"

#include "core/fkiss/fkiss_param.h"
#include "core/fkiss/fkiss_script.h"
#include "core/host/host.h"
#include "core/pools/pool_directory.h"
#include "core/pools/pool_file.h"

namespace luma {

ValuePools::ValuePools(Host& host, const FkissScript& script, DollIdentity identity,
                       std::string private_base_name, TextEncoding names)
    : host_(host),
      script_(script),
      identity_(std::move(identity)),
      private_base_name_(std::move(private_base_name)),
      names_(names) {}

void ValuePools::Reset() {
  if (!script_.value_ids().empty()) (void)FindPrivatePool();
}

const std::string& ValuePools::FindPrivatePool() {
  if (private_path_.empty()) {
    const std::string directory = PoolDirectory(host_);
    if (!directory.empty()) {
      private_path_ =
          luma::FindPrivatePool(host_.Files(), directory, private_base_name_, identity_, names_);
    }
  }
  return private_path_;
}

std::optional<ValuePool> ValuePools::PoolAt(int pool) {
  if (pool == kPrivatePool) {
    const std::string& path = FindPrivatePool();
    if (path.empty()) return std::nullopt;
    return ValuePool(host_.Files(), path, identity_);
  }
  if (pool < 0 || static_cast<size_t>(pool) >= script_.pool_names().size()) return std::nullopt;
  const std::string& name = script_.pool_names()[static_cast<size_t>(pool)];
  if (!IsValidPoolId(name)) return std::nullopt;
  const std::string directory = PoolDirectory(host_);
  if (directory.empty()) return std::nullopt;
  return ValuePool(host_.Files(), PublicPoolPath(host_.Files(), directory, name), std::nullopt);
}

const std::string* ValuePools::ValueId(int value_id) const {
  if (value_id < 0 || static_cast<size_t>(value_id) >= script_.value_ids().size()) return nullptr;
  return &script_.value_ids()[static_cast<size_t>(value_id)];
}

bool ValuePools::Load(int pool, int value_id, int32_t* value) {
  const std::string* id = ValueId(value_id);
  std::optional<ValuePool> file = id ? PoolAt(pool) : std::nullopt;
  if (!file) return false;
  const std::optional<int32_t> stored = file->Load(*id);
  if (!stored) return false;
  *value = *stored;
  return true;
}

void ValuePools::Save(int pool, int value_id, int32_t value) {
  const std::string* id = ValueId(value_id);
  std::optional<ValuePool> file = id ? PoolAt(pool) : std::nullopt;
  if (file) (void)file->Save(*id, value);
}

void ValuePools::Delete(int pool, int value_id) {
  const std::string* id = ValueId(value_id);
  std::optional<ValuePool> file = id ? PoolAt(pool) : std::nullopt;
  if (!file) return;
  // The next use names the private pool afresh, as another doll may have
  // taken the name meanwhile.
  if (file->Delete(*id) == ValuePool::Deleted::kRemoved && file->is_private()) {
    private_path_.clear();
  }
}

}  // namespace luma
