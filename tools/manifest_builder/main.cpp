// manifest_builder build FOLDER BASE_URL [-o OUTPUT]
//   Writes the manifest container of every file below FOLDER (default output:
//   FOLDER/Updateini2.ini, which is itself left out of the list, as is its
//   signature file).
// manifest_builder pack TEXT_FILE [-o OUTPUT] [--size-word N]
//   Packs a manifest text written by other means ("path\tMD5\tURL\r\n" lines
//   in GBK) into a container (default output: TEXT_FILE.ini). --size-word
//   writes another size word than the text's length (for test data).
// manifest_builder list CONTAINER
//   Prints the entries the launcher sees: path, MD5 and URL, tab-separated.
// manifest_builder verify CONTAINER FOLDER [--key PUBLIC_KEY]
//   Checks every entry against FOLDER, and with --key (64 hex digits) the
//   signature file CONTAINER.sig too; exit status 1 when anything is wrong.
// manifest_builder keygen SECRET_FILE
//   Makes an Ed25519 key pair: the secret key goes to SECRET_FILE (mode 0600,
//   never over an existing file), the public key to standard output as the
//   64 hex digits the launcher is built with (-DVLMR_MANIFEST_KEY).
// manifest_builder sign CONTAINER SECRET_FILE --version N [--expires DAYS]
//   Writes CONTAINER.sig: the container's exact bytes signed with version N,
//   expiring DAYS days from now (default: never).
#include <charconv>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

#include "folder_manifest.h"
#include "manifest_check.h"
#include "manifest_signing.h"
#include "platform/codepage.h"
#include "tool_files.h"
#include "update/manifest_container.h"
#include "update/manifest_signature.h"

namespace {

namespace fs = std::filesystem;
namespace platform = vlmr::platform;
using namespace vlmr::tools;

// --expires takes 1 to this many days (a hundred years).
constexpr uint64_t kLongestValidity = 36500;

int Usage() {
  std::fprintf(stderr,
               "usage: manifest_builder build FOLDER BASE_URL [-o OUTPUT]\n"
               "       manifest_builder pack TEXT_FILE [-o OUTPUT] [--size-word N]\n"
               "       manifest_builder list CONTAINER\n"
               "       manifest_builder verify CONTAINER FOLDER [--key PUBLIC_KEY]\n"
               "       manifest_builder keygen SECRET_FILE\n"
               "       manifest_builder sign CONTAINER SECRET_FILE --version N [--expires DAYS]\n");
  return 2;
}

uint64_t UnixNow() {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count());
}

// A whole decimal number, nothing else.
std::optional<uint64_t> Number(const std::string& text) {
  uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

void WriteContainer(const std::string& container, const fs::path& output) {
  if (container.empty()) throw std::runtime_error("the manifest text is too large for its container");
  WriteFileAtomically(output, container);
}

int Build(const fs::path& folder, const std::string& baseUrl, fs::path output) {
  if (output.empty()) output = folder / "Updateini2.ini";
  const std::string signatureSuffix(vlmr::update::kSignatureSuffix);
  std::vector<ManifestLine> lines =
      ScanFolder(folder, baseUrl,
                 {"Updateini2.ini", "Updateini2.ini" + signatureSuffix, fs::absolute(output),
                  fs::absolute(output.string() + signatureSuffix)});
  std::string container = vlmr::update::EncodeManifestContainer(ManifestText(lines));
  WriteContainer(container, output);
  std::printf("%zu files -> %s (%zu bytes)\n", lines.size(), output.c_str(), container.size());
  return 0;
}

int Pack(const fs::path& textFile, fs::path output, std::optional<uint32_t> sizeWord) {
  if (output.empty()) output = textFile.string() + ".ini";
  std::string text = ReadWholeFile(textFile);
  WriteContainer(sizeWord ? vlmr::update::EncodeManifestContainer(text, *sizeWord)
                          : vlmr::update::EncodeManifestContainer(text),
                 output);
  return 0;
}

// Pack's options after the text file: -o OUTPUT and --size-word N.
int PackWithOptions(const std::vector<std::string>& args) {
  fs::path output;
  std::optional<uint32_t> sizeWord;
  if (args.size() % 2 != 0) return Usage();  // options come in pairs
  for (size_t i = 2; i < args.size(); i += 2) {
    if (args[i] == "-o") output = args[i + 1];
    else if (args[i] == "--size-word") sizeWord = static_cast<uint32_t>(std::stoul(args[i + 1], nullptr, 0));
    else return Usage();
  }
  return Pack(args[1], output, sizeWord);
}

int List(const fs::path& container) {
  for (const DecodedLine& line : DecodeContainer(ReadWholeFile(container)))
    std::printf("%s\t%s\t%s\n", vlmr::platform::GbkToUtf8(line.relativePath).c_str(),
                line.md5.c_str(), vlmr::platform::GbkToUtf8(line.url).c_str());
  return 0;
}

int Verify(const fs::path& container, const fs::path& folder,
           const std::optional<platform::Ed25519PublicKey>& key) {
  const std::string bytes = ReadWholeFile(container);
  std::vector<DecodedLine> lines = DecodeContainer(bytes);
  std::vector<std::string> problems = VerifyAgainstFolder(lines, folder);
  if (lines.empty()) problems.push_back(container.string() + ": no entries (not a valid container?)");
  if (key) {
    std::string summary;
    const fs::path signatureFile = container.string() + std::string(vlmr::update::kSignatureSuffix);
    for (std::string& p : CheckSignatureFile(bytes, signatureFile, *key, UnixNow(), &summary)) {
      problems.push_back(std::move(p));
    }
    if (!summary.empty()) std::printf("signature: %s\n", summary.c_str());
  }
  for (const std::string& p : problems) std::printf("%s\n", p.c_str());
  std::printf("%zu entries, %zu problems\n", lines.size(), problems.size());
  return problems.empty() ? 0 : 1;
}

// Verify's arguments: CONTAINER FOLDER [--key PUBLIC_KEY].
int VerifyWithOptions(const std::vector<std::string>& args) {
  if (args.size() == 3) return Verify(args[1], args[2], std::nullopt);
  if (args.size() != 5 || args[3] != "--key") return Usage();
  std::optional<platform::KeyBytes> key = platform::KeyBytesFromHex(args[4]);
  if (!key) {
    std::fprintf(stderr, "manifest_builder: --key takes the public key's 64 hex digits\n");
    return 2;
  }
  return Verify(args[1], args[2], platform::Ed25519PublicKey{*key});
}

int Keygen(const fs::path& secretFile) {
  std::printf("%s\n", GenerateKeyPair(secretFile).c_str());
  std::fprintf(stderr,
               "manifest_builder: secret key written to %s; keep it offline, away from the update server. "
               "Build the launcher with -DVLMR_MANIFEST_KEY=<the public key above>.\n",
               secretFile.c_str());
  return 0;
}

// Sign's arguments: CONTAINER SECRET_FILE --version N [--expires DAYS].
int SignWithOptions(const std::vector<std::string>& args) {
  std::optional<uint64_t> version;
  uint64_t expiresAt = 0;
  if (args.size() % 2 == 0) return Usage();  // options come in pairs
  for (size_t i = 3; i < args.size(); i += 2) {
    std::optional<uint64_t> number = Number(args[i + 1]);
    if (!number) return Usage();
    if (args[i] == "--version") {
      version = number;
    } else if (args[i] == "--expires" && *number > 0 && *number <= kLongestValidity) {
      expiresAt = UnixNow() + *number * 86400;
    } else {
      return Usage();
    }
  }
  if (!version) return Usage();
  const fs::path output = SignManifestFile(args[1], args[2], *version, expiresAt);
  std::printf("%s: version %llu, expires %s\n", output.c_str(), static_cast<unsigned long long>(*version),
              vlmr::update::ExpiryText(expiresAt).c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (args.size() >= 3 && args[0] == "build") {
      fs::path output;
      if (args.size() == 5 && args[3] == "-o") output = args[4];
      else if (args.size() != 3) return Usage();
      return Build(args[1], args[2], output);
    }
    if (args.size() >= 2 && args[0] == "pack") return PackWithOptions(args);
    if (args.size() == 2 && args[0] == "list") return List(args[1]);
    if (args.size() >= 3 && args[0] == "verify") return VerifyWithOptions(args);
    if (args.size() == 2 && args[0] == "keygen") return Keygen(args[1]);
    if (args.size() >= 5 && args[0] == "sign") return SignWithOptions(args);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "manifest_builder: %s\n", e.what());
    return 1;
  }
  return Usage();
}
