// Output files that appear whole or not at all: written under a temporary name, then renamed.
#pragma once

#include <string>

namespace cli {

class AtomicFile {
 public:
  // Creates a fresh temporary file beside path; an Error if the folder is not writable.
  explicit AtomicFile(std::string path);
  ~AtomicFile();  // removes the temporary file unless committed
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  const std::string& temporaryPath() const { return temporary_; }
  // Renames the temporary file to the final path.
  void commit();

 private:
  std::string path_;
  std::string temporary_;
  bool committed_ = false;
};

// Writes content to path through an AtomicFile.
void writeFileAtomically(const std::string& path, const std::string& content);

}  // namespace cli
