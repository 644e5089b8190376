// Reading and writing the operator's files whole: nothing a server serves is
// ever half written, and a secret key never replaces an existing file.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace vlmr::tools {

// The whole file; throws std::runtime_error when it cannot be read.
std::string ReadWholeFile(const std::filesystem::path& file);

// Writes beside `output` first, then renames over it; throws
// std::runtime_error when it cannot.
void WriteFileAtomically(const std::filesystem::path& output, const std::string& bytes);

// Creates `file` readable and writable by its owner only (0600) and writes
// `bytes`; throws std::runtime_error when it exists already or cannot be written.
void WriteNewPrivateFile(const std::filesystem::path& file, const std::string& bytes);

}  // namespace vlmr::tools
