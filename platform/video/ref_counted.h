// The reference count of the display stand-ins' objects: created with one
// reference, AddRef adds one, Release drops one and deletes the object at
// zero, returning the references left, as the Windows interfaces do.
#pragma once

#include <cstdint>

namespace platform {

class RefCounted {
 public:
  RefCounted() = default;
  RefCounted(const RefCounted&) = delete;
  RefCounted& operator=(const RefCounted&) = delete;

  std::uint32_t AddRef() { return ++m_nRefs; }
  std::uint32_t References() const { return m_nRefs; }
  std::uint32_t Release() {
    const std::uint32_t left = --m_nRefs;
    if (left == 0) delete this;
    return left;
  }

 protected:
  virtual ~RefCounted() = default;

 private:
  std::uint32_t m_nRefs = 1;
};

}  // namespace platform
