// Temporary-then-rename writing, so that a failure never leaves a partial output behind.
#include "cli/writers/atomic_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "cli/app/error.h"

namespace cli {

namespace {

// strerror is not safe in the batch threads; the error category's message is.
std::string errnoText() { return std::error_code(errno, std::generic_category()).message(); }

}  // namespace

namespace {

// Read once before any thread starts: umask() can only be read by setting it.
mode_t readUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}
const mode_t kUmask = readUmask();

std::string temporaryBeside(const std::string& path) {
  const std::filesystem::path target(path);
  std::filesystem::path pattern =
      target.parent_path() / ("." + target.filename().string() + ".XXXXXX");
  std::string text = pattern.string();
  std::vector<char> buffer(text.begin(), text.end());
  buffer.push_back('\0');
  const int fd = ::mkstemp(buffer.data());
  if (fd < 0) throw Error(path + ": cannot create output file: " + errnoText());
  // mkstemp makes the file private; outputs get the permissions of any new file.
  ::fchmod(fd, static_cast<mode_t>(0666 & ~kUmask));
  ::close(fd);
  return buffer.data();
}

}  // namespace

AtomicFile::AtomicFile(std::string path)
    : path_(std::move(path)), temporary_(temporaryBeside(path_)) {}

AtomicFile::~AtomicFile() {
  if (!committed_) std::remove(temporary_.c_str());
}

void AtomicFile::commit() {
  if (std::rename(temporary_.c_str(), path_.c_str()) != 0)
    throw Error(path_ + ": cannot write output file: " + errnoText());
  committed_ = true;
}

void writeFileAtomically(const std::string& path, const std::string& content) {
  AtomicFile file(path);
  std::FILE* out = std::fopen(file.temporaryPath().c_str(), "wb");
  if (out == nullptr) throw Error(path + ": cannot write output file: " + errnoText());
  const bool written = std::fwrite(content.data(), 1, content.size(), out) == content.size();
  const bool closed = std::fclose(out) == 0;
  if (!written || !closed) throw Error(path + ": cannot write output file: " + errnoText());
  file.commit();
}

}  // namespace cli
