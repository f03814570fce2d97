#include "GraphManager/DeviceRecordTable.h"

#include <map>
#include <mutex>

namespace {
struct Table {
  std::mutex mutex;
  std::map<std::u16string, std::map<LONG, int64_t>> records;
};

Table& TheTable() {
  static Table table;
  return table;
}
}  // namespace

namespace DeviceRecordTable {
int64_t Get(const std::u16string& device, LONG id) {
  Table& table = TheTable();
  std::lock_guard lock(table.mutex);
  const auto record = table.records.find(device);
  if (record == table.records.end()) return 0;
  const auto value = record->second.find(id);
  return value == record->second.end() ? 0 : value->second;
}

bool Has(const std::u16string& device, LONG id) {
  Table& table = TheTable();
  std::lock_guard lock(table.mutex);
  const auto record = table.records.find(device);
  return record != table.records.end() && record->second.count(id) != 0;
}

void Set(const std::u16string& device, LONG id, int64_t value) {
  Table& table = TheTable();
  std::lock_guard lock(table.mutex);
  table.records[device][id] = value;
}
}  // namespace DeviceRecordTable
