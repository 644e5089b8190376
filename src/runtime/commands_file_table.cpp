#include "runtime/commands_file_table.h"

#include <map>
#include <mutex>

namespace vlmr::rt::files {
namespace {

struct Table {
  std::mutex mutex;
  std::map<int32_t, std::shared_ptr<platform::FileHandle>> open;
  int32_t lastNumber = 0;
};

Table& TheTable() {
  static Table table;
  return table;
}

}  // namespace

int32_t Add(platform::FileHandle file) {
  Table& t = TheTable();
  auto shared = std::make_shared<platform::FileHandle>(std::move(file));
  std::lock_guard lock(t.mutex);
  // Numbers count up from 1; after wrapping, skip 0 and numbers still in use.
  do {
    t.lastNumber = t.lastNumber == INT32_MAX ? 1 : t.lastNumber + 1;
  } while (t.open.count(t.lastNumber) != 0);
  t.open.emplace(t.lastNumber, std::move(shared));
  return t.lastNumber;
}

std::shared_ptr<platform::FileHandle> Find(int32_t number) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  const auto it = t.open.find(number);
  return it == t.open.end() ? nullptr : it->second;
}

void Remove(int32_t number) {
  std::shared_ptr<platform::FileHandle> closing;
  Table& t = TheTable();
  {
    std::lock_guard lock(t.mutex);
    const auto it = t.open.find(number);
    if (it == t.open.end()) return;
    closing = std::move(it->second);
    t.open.erase(it);
  }
  // The last owner closes the file, outside the lock.
}

}  // namespace vlmr::rt::files
