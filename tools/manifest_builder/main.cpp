// manifest_builder build FOLDER BASE_URL [-o OUTPUT]
//   Writes the manifest container of every file below FOLDER (default output:
//   FOLDER/Updateini2.ini, which is itself left out of the list).
// manifest_builder pack TEXT_FILE [-o OUTPUT] [--size-word N]
//   Packs a manifest text written by other means ("path\tMD5\tURL\r\n" lines
//   in GBK) into a container (default output: TEXT_FILE.ini). --size-word
//   writes another size word than the text's length (for test data).
// manifest_builder list CONTAINER
//   Prints the entries the launcher sees: path, MD5 and URL, tab-separated.
// manifest_builder verify CONTAINER FOLDER
//   Checks every entry against FOLDER; exit status 1 when anything is wrong.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "folder_manifest.h"
#include "manifest_check.h"
#include "platform/codepage.h"
#include "update/manifest_container.h"

namespace {

namespace fs = std::filesystem;
using namespace vlmr::tools;

int Usage() {
  std::fprintf(stderr,
               "usage: manifest_builder build FOLDER BASE_URL [-o OUTPUT]\n"
               "       manifest_builder pack TEXT_FILE [-o OUTPUT] [--size-word N]\n"
               "       manifest_builder list CONTAINER\n"
               "       manifest_builder verify CONTAINER FOLDER\n");
  return 2;
}

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error(file.string() + ": cannot be read");
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Writes beside the output first, then renames: a server never serves half a container.
void WriteContainer(const std::string& container, const fs::path& output) {
  if (container.empty()) throw std::runtime_error("the manifest text is too large for its container");
  fs::path temporary = output.string() + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(container.data(), static_cast<std::streamsize>(container.size()));
    if (!out.flush()) throw std::runtime_error(temporary.string() + ": cannot be written");
  }
  fs::rename(temporary, output);
}

int Build(const fs::path& folder, const std::string& baseUrl, fs::path output) {
  if (output.empty()) output = folder / "Updateini2.ini";
  std::vector<ManifestLine> lines = ScanFolder(folder, baseUrl, {"Updateini2.ini", fs::absolute(output)});
  std::string container = vlmr::update::EncodeManifestContainer(ManifestText(lines));
  WriteContainer(container, output);
  std::printf("%zu files -> %s (%zu bytes)\n", lines.size(), output.c_str(), container.size());
  return 0;
}

int Pack(const fs::path& textFile, fs::path output, std::optional<uint32_t> sizeWord) {
  if (output.empty()) output = textFile.string() + ".ini";
  std::string text = ReadFile(textFile);
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
  for (const DecodedLine& line : DecodeContainer(ReadFile(container)))
    std::printf("%s\t%s\t%s\n", vlmr::platform::GbkToUtf8(line.relativePath).c_str(),
                line.md5.c_str(), vlmr::platform::GbkToUtf8(line.url).c_str());
  return 0;
}

int Verify(const fs::path& container, const fs::path& folder) {
  std::vector<DecodedLine> lines = DecodeContainer(ReadFile(container));
  std::vector<std::string> problems = VerifyAgainstFolder(lines, folder);
  if (lines.empty()) problems.push_back(container.string() + ": no entries (not a valid container?)");
  for (const std::string& p : problems) std::printf("%s\n", p.c_str());
  std::printf("%zu entries, %zu problems\n", lines.size(), problems.size());
  return problems.empty() ? 0 : 1;
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
    if (args.size() == 3 && args[0] == "verify") return Verify(args[1], args[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "manifest_builder: %s\n", e.what());
    return 1;
  }
  return Usage();
}
