#ifndef LUMA_CORE_FKISS_VALUE_POOLS_H_
#define LUMA_CORE_FKISS_VALUE_POOLS_H_

#include <cstdint>
#include <optional>
#include <string>

#include "core/fkiss/value_pool_access.h"
#include "core/host/text_encoding.h"
#include "core/pools/doll_identity.h"
#include "core/pools/value_pool.h"

namespace luma {

class FkissScript;
class Host;

// The value pools of one doll, addressed as its script names them: pool
// index -1 is the doll's private pool, 0 and up the public pools of the
// script's pool names; values by index into the script's value ids.
// Failures are silent, as scripts expect: a value that cannot be read
// leaves the variable alone, one that cannot be written is lost.
class ValuePools : public ValuePoolAccess {
 public:
  // `names` is the encoding of the doll's names, its path among them.
  ValuePools(Host& host, const FkissScript& script, DollIdentity identity,
             std::string private_base_name, TextEncoding names);

  // At every script start: finds the private pool of a script that keeps
  // values, so its stored identity is brought up to date.
  void Reset() override;
  bool Load(int pool, int value_id, int32_t* value) override;
  void Save(int pool, int value_id, int32_t value) override;
  void Delete(int pool, int value_id) override;

  // The private pool's path: found or named on first need and remembered
  // until the pool is deleted. Empty without a pool folder.
  const std::string& FindPrivatePool();

  const DollIdentity& identity() const { return identity_; }

 private:
  std::optional<ValuePool> PoolAt(int pool);
  const std::string* ValueId(int value_id) const;

  Host& host_;
  const FkissScript& script_;
  DollIdentity identity_;
  std::string private_base_name_;
  TextEncoding names_;
  std::string private_path_;
};

}  // namespace luma

#endif  // LUMA_CORE_FKISS_VALUE_POOLS_H_
