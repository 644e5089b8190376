#include "folder_server.h"

#include <fcntl.h>
#include <httplib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <thread>
#include <vector>

namespace vlmr::tools {
namespace {

constexpr size_t kReadBlock = 256 * 1024;

// The file a request path names, or empty when it leaves the folder or names
// no regular file.
std::filesystem::path FileFor(const std::filesystem::path& folder, const std::string& path) {
  std::filesystem::path relative = std::filesystem::path(path).relative_path().lexically_normal();
  if (relative.empty() || *relative.begin() == "..") return {};
  std::filesystem::path file = folder / relative;
  std::error_code ec;
  return std::filesystem::is_regular_file(file, ec) ? file : std::filesystem::path();
}

struct ByteSpan {
  int64_t first;
  int64_t length;
};

// The bytes one range of a file of `size` bytes asks for ("a-b", "a-" or the
// suffix "-n"); nullopt when none of them exists.
std::optional<ByteSpan> Resolve(const httplib::Range& range, int64_t size) {
  int64_t first = range.first;
  int64_t last = range.second;
  if (first < 0) {  // suffix range: the last `last` bytes
    if (last <= 0) return std::nullopt;
    first = std::max<int64_t>(0, size - last);
    last = size - 1;
  }
  if (last < 0 || last >= size) last = size - 1;
  if (first >= size || last < first) return std::nullopt;
  return ByteSpan{first, last - first + 1};
}

}  // namespace

struct FolderServer::Impl {
  std::filesystem::path folder;
  httplib::Server server;
  int port = 0;
  int64_t rate = 0;  // bytes per second per response; 0: unpaced

  void Handle(const httplib::Request& req, httplib::Response& res) {
    std::filesystem::path file = FileFor(folder, req.path);
    int fd = file.empty() ? -1 : ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      res.status = 404;
      res.set_content("not found\n", "text/plain");
      return;
    }
    auto size = static_cast<int64_t>(::lseek(fd, 0, SEEK_END));
    // Ranges are answered here: httplib 0.11 would answer an unsatisfiable one
    // with a broken length, so it is kept from applying them itself.
    auto& ranges = const_cast<httplib::Request&>(req).ranges;
    bool ranged = ranges.size() == 1;
    std::optional<ByteSpan> span = ranged ? Resolve(ranges[0], size) : ByteSpan{0, size};
    ranges.clear();
    if (!span) {
      ::close(fd);
      res.status = 416;
      res.set_header("Content-Range", "bytes */" + std::to_string(size));
      return;
    }
    if (ranged) {
      res.status = 206;
      res.set_header("Content-Range", "bytes " + std::to_string(span->first) + "-" +
                                          std::to_string(span->first + span->length - 1) + "/" +
                                          std::to_string(size));
    }
    Stream(fd, *span, rate, res);
  }

  // Sends the span of the open file and closes it when the response is done.
  static void Stream(int fd, ByteSpan span, int64_t rate, httplib::Response& res) {
    if (span.length == 0) {  // an empty file: a plain empty body with its length
      ::close(fd);
      res.set_content("", "application/octet-stream");
      return;
    }
    res.set_content_provider(
        static_cast<size_t>(span.length), "application/octet-stream",
        [fd, first = span.first, rate](size_t offset, size_t length, httplib::DataSink& sink) {
          std::vector<char> buffer(std::min(length, kReadBlock));
          ssize_t n = ::pread(fd, buffer.data(), buffer.size(), static_cast<off_t>(first + offset));
          if (n <= 0 || !sink.write(buffer.data(), static_cast<size_t>(n))) return false;
          if (rate > 0) std::this_thread::sleep_for(std::chrono::microseconds(n * 1000000 / rate));
          return true;
        },
        [fd](bool) { ::close(fd); });
  }
};

FolderServer::FolderServer(std::filesystem::path folder, bool logRequests)
    : impl_(std::make_unique<Impl>()) {
  impl_->folder = std::move(folder);
  Impl* impl = impl_.get();
  impl->server.Get(".*", [impl](const httplib::Request& req, httplib::Response& res) {
    impl->Handle(req, res);
  });
  if (logRequests) {
    impl->server.set_logger([](const httplib::Request& req, const httplib::Response& res) {
      std::printf("%s %s %s -> %d\n", req.method.c_str(), req.target.c_str(),
                  req.get_header_value("Range").c_str(), res.status);
      std::fflush(stdout);
    });
  }
}

FolderServer::~FolderServer() { Stop(); }

void FolderServer::SetRateLimit(int64_t bytesPerSecond) { impl_->rate = bytesPerSecond; }

bool FolderServer::Bind(const std::string& host, int port) {
  if (port == 0) {
    impl_->port = impl_->server.bind_to_any_port(host);
    return impl_->port > 0;
  }
  impl_->port = port;
  return impl_->server.bind_to_port(host, port);
}

int FolderServer::Port() const { return impl_->port; }

void FolderServer::Listen() { impl_->server.listen_after_bind(); }

void FolderServer::Stop() { impl_->server.stop(); }

}  // namespace vlmr::tools
