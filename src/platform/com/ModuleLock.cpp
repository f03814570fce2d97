#include "platform/com/ModuleLock.h"

std::atomic<LONG>& ModuleLock::Count() {
  static std::atomic<LONG> count{0};
  return count;
}
