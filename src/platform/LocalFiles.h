#pragma once
// The download's local file in the user's temporary folder.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace updater {

// A file open for appending raw bytes. Closing (or destroying) it puts every byte on disk.
class IOutputFile {
 public:
  virtual ~IOutputFile() = default;
  // Appends size bytes; faults when they cannot be written (disk full, I/O error).
  virtual void Append(const std::uint8_t* data, std::size_t size) = 0;
  // Writes out what is buffered and closes the file; faults when that fails. A second call does nothing.
  virtual void Close() = 0;
};

class ILocalFiles {
 public:
  virtual ~ILocalFiles() = default;
  // The user's temporary folder, always ending with the path separator.
  virtual std::string TempPath() = 0;
  // True when name, already free of "/" and not empty, "." or "..", can name a file of its own in the
  // temporary folder. Platforms whose file names have further rules refuse the others here.
  virtual bool IsLocalFileName(const std::string& name) {
    static_cast<void>(name);
    return true;
  }
  // True when an entry with exactly this path exists (a dangling link included).
  virtual bool Exists(const std::string& path) = 0;
  // Removes the entry without following a link; faults when it cannot or may not be removed.
  virtual void Delete(const std::string& path) = 0;
  // Creates a new, empty file readable and writable by the user only; never opens an existing entry.
  virtual std::unique_ptr<IOutputFile> Create(const std::string& path) = 0;
};

}  // namespace updater
