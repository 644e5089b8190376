#include "update/verified_state.h"

#include <zlib.h>

#include <cstring>

#include "platform/file_install.h"
#include "platform/md5.h"
#include "update/reserved_names.h"

namespace vlmr::update {
namespace {

// The file: "VLMRVST1", the format version, the folder (its launcher path,
// device and id), the entry count, the entries (key length and key; size,
// modification and change times, device, id, recording time; 16 digest
// bytes), then a CRC-32 of all that. Little-endian throughout.
constexpr std::string_view kMagic = "VLMRVST1";
constexpr uint32_t kFormatVersion = 1;
constexpr const char* kFileName = "verified-state";
constexpr int64_t kLargestIndex = int64_t{256} << 20;

class Writer {
 public:
  template <typename T>
  void Put(T value) {
    char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    out_.append(bytes, sizeof(T));
  }
  void PutText(std::string_view text) {
    Put(static_cast<uint32_t>(text.size()));
    out_.append(text);
  }
  void PutRaw(const void* data, size_t n) { out_.append(static_cast<const char*>(data), n); }
  std::string& Bytes() { return out_; }

 private:
  std::string out_;
};

class Reader {
 public:
  explicit Reader(std::string_view in) : in_(in) {}
  template <typename T>
  bool Get(T& value) {
    if (in_.size() < sizeof(T)) return false;
    std::memcpy(&value, in_.data(), sizeof(T));
    in_.remove_prefix(sizeof(T));
    return true;
  }
  bool GetText(std::string& text) {
    uint32_t n = 0;
    if (!Get(n) || in_.size() < n) return false;
    text.assign(in_.substr(0, n));
    in_.remove_prefix(n);
    return true;
  }
  bool GetRaw(void* out, size_t n) {
    if (in_.size() < n) return false;
    std::memcpy(out, in_.data(), n);
    in_.remove_prefix(n);
    return true;
  }
  bool AtEnd() const { return in_.empty(); }

 private:
  std::string_view in_;
};

uint32_t Crc(std::string_view bytes) {
  return static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(bytes.data()),
                                     static_cast<uInt>(bytes.size())));
}

bool GetEntry(Reader& in, std::string& key, VerifiedState::Entry& entry) {
  platform::FileStamp& s = entry.stamp;
  return in.GetText(key) && in.Get(s.size) && in.Get(s.modifiedNs) && in.Get(s.changedNs) &&
         in.Get(s.device) && in.Get(s.fileId) && in.Get(entry.recordedNs) &&
         in.GetRaw(entry.digest, sizeof entry.digest);
}

void PutEntry(Writer& out, const std::string& key, const VerifiedState::Entry& entry) {
  const platform::FileStamp& s = entry.stamp;
  out.PutText(key);
  out.Put(s.size);
  out.Put(s.modifiedNs);
  out.Put(s.changedNs);
  out.Put(s.device);
  out.Put(s.fileId);
  out.Put(entry.recordedNs);
  out.PutRaw(entry.digest, sizeof entry.digest);
}

bool ParseDigest(std::string_view hex, uint8_t out[16]) {
  auto value = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  if (hex.size() != 32) return false;
  for (size_t i = 0; i < 16; ++i) {
    const int high = value(hex[2 * i]), low = value(hex[2 * i + 1]);
    if (high < 0 || low < 0) return false;
    out[i] = static_cast<uint8_t>(high << 4 | low);
  }
  return true;
}

// The folder as the index names it: its path and, from its stamp, the
// volume and id, so an index copied into another folder is never believed.
struct FolderIdentity {
  uint64_t device = 0;
  uint64_t id = 0;
};

std::optional<FolderIdentity> IdentityOf(const std::string& programDirectory) {
  std::optional<platform::FileStamp> stamp = platform::FolderStampOf(programDirectory);
  if (!stamp) return std::nullopt;
  return FolderIdentity{stamp->device, stamp->fileId};
}

}  // namespace

VerifiedState::VerifiedState(std::string programDirectory) : programDirectory_(std::move(programDirectory)) {}

VerifiedState VerifiedState::Load(std::string programDirectory) {
  VerifiedState state(std::move(programDirectory));
  const std::optional<FolderIdentity> folder = IdentityOf(state.programDirectory_);
  const std::optional<std::string> bytes =
      platform::ReadSmallFile(LauncherFolderFile(state.programDirectory_, kFileName), kLargestIndex);
  if (!folder || !bytes || bytes->size() < kMagic.size() + sizeof(uint32_t)) return state;
  const std::string_view body(bytes->data(), bytes->size() - sizeof(uint32_t));
  uint32_t crc = 0;
  std::memcpy(&crc, bytes->data() + body.size(), sizeof crc);
  if (crc != Crc(body) || body.substr(0, kMagic.size()) != kMagic) return state;

  Reader in(body.substr(kMagic.size()));
  uint32_t version = 0, count = 0;
  std::string path;
  FolderIdentity recorded;
  if (!in.Get(version) || version != kFormatVersion || !in.GetText(path) || !in.Get(recorded.device) ||
      !in.Get(recorded.id) || !in.Get(count)) {
    return state;
  }
  if (path != state.programDirectory_ || recorded.device != folder->device || recorded.id != folder->id) {
    return state;
  }
  std::unordered_map<std::string, Entry> entries;
  entries.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    std::string key;
    Entry entry;
    if (!GetEntry(in, key, entry)) return state;
    entries.emplace(std::move(key), entry);
  }
  if (in.AtEnd()) state.loaded_ = std::move(entries);
  return state;
}

std::optional<std::string> VerifiedState::RecordedDigest(const std::string& key,
                                                         const platform::FileStamp& now) const {
  const auto it = loaded_.find(key);
  if (it == loaded_.end() || !(it->second.stamp == now)) return std::nullopt;
  // Changed within the granularity of the moment it was recorded: a later
  // change could have kept the same times, so the stamp proves nothing.
  if (now.modifiedNs > it->second.recordedNs - kTimestampGranularityNs) return std::nullopt;
  return platform::UpperHexDigest(it->second.digest);
}

void VerifiedState::Record(const std::string& key, const platform::FileStamp& stamp, std::string_view digest) {
  Entry entry{stamp, platform::WallClockNs(), {}};
  if (ParseDigest(digest, entry.digest)) recorded_[key] = entry;
}

bool VerifiedState::Save() const {
  const std::optional<FolderIdentity> folder = IdentityOf(programDirectory_);
  if (!folder || !EnsureLauncherFolder(programDirectory_)) return false;
  Writer out;
  out.PutRaw(kMagic.data(), kMagic.size());
  out.Put(kFormatVersion);
  out.PutText(programDirectory_);
  out.Put(folder->device);
  out.Put(folder->id);
  out.Put(static_cast<uint32_t>(recorded_.size()));
  for (const auto& [key, entry] : recorded_) PutEntry(out, key, entry);
  out.Put(Crc(out.Bytes()));
  return platform::WriteFileAtomically(LauncherFolderFile(programDirectory_, kFileName), out.Bytes());
}

}  // namespace vlmr::update
