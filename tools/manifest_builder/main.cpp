// manifest_builder build FOLDER BASE_URL [-o OUTPUT]
//   Writes the manifest container of every file below FOLDER (default output:
//   FOLDER/Updateini2.ini, which is itself left out of the list).
// manifest_builder list CONTAINER
//   Prints the entries the launcher sees: path, MD5 and URL, tab-separated.
// manifest_builder verify CONTAINER FOLDER
//   Checks every entry against FOLDER; exit status 1 when anything is wrong.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "folder_manifest.h"
#include "manifest_check.h"
#include "platform/codepage.h"

namespace {

namespace fs = std::filesystem;
using namespace vlmr::tools;

int Usage() {
  std::fprintf(stderr,
               "usage: manifest_builder build FOLDER BASE_URL [-o OUTPUT]\n"
               "       manifest_builder list CONTAINER\n"
               "       manifest_builder verify CONTAINER FOLDER\n");
  return 2;
}

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error(file.string() + ": cannot be read");
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int Build(const fs::path& folder, const std::string& baseUrl, fs::path output) {
  if (output.empty()) output = folder / "Updateini2.ini";
  std::vector<ManifestLine> lines = ScanFolder(folder, baseUrl, {"Updateini2.ini", fs::absolute(output)});
  std::string container = PackContainer(ManifestText(lines));
  fs::path temporary = output.string() + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(container.data(), static_cast<std::streamsize>(container.size()));
    if (!out.flush()) throw std::runtime_error(temporary.string() + ": cannot be written");
  }
  fs::rename(temporary, output);
  std::printf("%zu files -> %s (%zu bytes)\n", lines.size(), output.c_str(), container.size());
  return 0;
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
    if (args.size() == 2 && args[0] == "list") return List(args[1]);
    if (args.size() == 3 && args[0] == "verify") return Verify(args[1], args[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "manifest_builder: %s\n", e.what());
    return 1;
  }
  return Usage();
}
