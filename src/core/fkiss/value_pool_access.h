#ifndef LUMA_CORE_FKISS_VALUE_POOL_ACCESS_H_
#define LUMA_CORE_FKISS_VALUE_POOL_ACCESS_H_

#include <cstdint>

namespace luma {

// Where savevalue, loadvalue and deletevalue keep their values. Pools are
// named by the script's pool index (kPrivatePool for the doll's own) and
// values by their value-id index. Failures are silent: a value that cannot
// be read leaves the variable alone, one that cannot be written is lost.
class ValuePoolAccess {
 public:
  virtual ~ValuePoolAccess() = default;
  // Called at every script start, before any event runs.
  virtual void Reset() = 0;
  // True and the value when the pool holds it.
  virtual bool Load(int pool, int value_id, int32_t* value) = 0;
  virtual void Save(int pool, int value_id, int32_t value) = 0;
  virtual void Delete(int pool, int value_id) = 0;
};

}  // namespace luma

#endif  // LUMA_CORE_FKISS_VALUE_POOL_ACCESS_H_
