// The manifest's signature check as the update run makes it, without the
// fetch: parsing the signature file, SHA-512 over the manifest's bytes and
// the Ed25519 verification. Over the container of a realistic manifest of
// 2,000 entries, and over 300 KB (what those entries take before
// compression, for a container that did not compress). The whole acceptance
// adds reading the version record from a temporary game folder.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "platform/native_path.h"
#include "update/manifest_container.h"
#include "update/manifest_signature.h"
#include "update/signed_manifest.h"

namespace {

namespace fs = std::filesystem;
using namespace vlmr;

constexpr int kEntries = 2000;
constexpr size_t kUncompressedSize = 300 * 1000;

const platform::Ed25519SecretKey kSecret = platform::NewEd25519SecretKey();
const platform::Ed25519PublicKey kKey = *platform::Ed25519PublicKeyOf(kSecret);

// Lines like a game's: nested data files, random digests, URLs below one base.
std::string RealisticManifestText() {
  std::mt19937_64 random(7);
  std::string text;
  for (int i = 0; i < kEntries; ++i) {
    char path[64];
    std::snprintf(path, sizeof path, "Lanternfall\\data\\map%02d\\tile_%04d.pak", i % 40, i);
    char md5[33];
    std::snprintf(md5, sizeof md5, "%016llX%016llX", static_cast<unsigned long long>(random()),
                  static_cast<unsigned long long>(random()));
    std::string url = std::string("http://updates.example/files/") + path;
    for (char& c : url) c = c == '\\' ? '/' : c;
    text += std::string(path) + "\t" + md5 + "\t" + url + "\r\n";
  }
  return text;
}

std::string RandomBytes(size_t size) {
  std::mt19937_64 random(9);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

std::string SignatureFileOf(const std::string& manifest) {
  return update::EncodeManifestSignature(*update::SignManifest(manifest, 42, 0, kSecret));
}

void BM_VerifyManifestSignature(benchmark::State& state, const std::string& manifest) {
  const std::string signatureFile = SignatureFileOf(manifest);
  for (auto _ : state) {
    std::optional<update::ManifestSignature> signature = update::ParseManifestSignature(signatureFile);
    if (!signature || !update::SignatureMatches(*signature, manifest, kKey)) {
      state.SkipWithError("a valid signature did not verify");
    }
  }
  state.counters["manifest_bytes"] = static_cast<double>(manifest.size());
}
BENCHMARK_CAPTURE(BM_VerifyManifestSignature, container_of_2000_entries,
                  update::EncodeManifestContainer(RealisticManifestText()))
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_VerifyManifestSignature, bytes_300KB, RandomBytes(kUncompressedSize))
    ->Unit(benchmark::kMicrosecond);

void BM_AcceptSignedManifest(benchmark::State& state) {
  const std::string manifest = update::EncodeManifestContainer(RealisticManifestText());
  const std::string signatureFile = SignatureFileOf(manifest);
  const fs::path folder = fs::temp_directory_path() / ("bench_manifest_signature." + std::to_string(getpid()));
  fs::create_directories(folder);
  const std::string record = platform::ToLauncherPath(folder.string()) + "\\manifest.ini";
  std::string why;
  for (auto _ : state) {
    if (!update::AcceptSignedManifest(manifest, signatureFile, kKey, record, 0, &why)) state.SkipWithError(why.c_str());
  }
  fs::remove_all(folder);
}
BENCHMARK(BM_AcceptSignedManifest)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
