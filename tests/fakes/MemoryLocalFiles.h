#pragma once
// A temporary folder in memory.

#include <map>
#include <memory>
#include <string>

#include "platform/LocalFiles.h"
#include "text/Fault.h"

namespace updater::test {

class MemoryLocalFiles : public ILocalFiles {
 public:
  struct Entry {
    std::string bytes;
    bool open = false;
  };

  std::string TempPath() override { return "/tmp/"; }
  bool Exists(const std::string& path) override { return files.count(path) != 0; }
  void Delete(const std::string& path) override {
    if (failDelete) RaiseFault(FaultNumber::PermissionDenied);
    files.erase(path);
  }
  std::unique_ptr<IOutputFile> Create(const std::string& path) override {
    if (files.count(path)) RaiseFault(FaultNumber::FileAlreadyExists);
    Entry& entry = files[path];
    entry.open = true;
    return std::make_unique<File>(entry);
  }

  std::map<std::string, Entry> files;
  bool failDelete = false;

 private:
  class File : public IOutputFile {
   public:
    explicit File(Entry& entry) : entry_(entry) {}
    ~File() override { entry_.open = false; }
    void Append(const std::uint8_t* data, std::size_t size) override {
      entry_.bytes.append(reinterpret_cast<const char*>(data), size);
    }
    void Close() override { entry_.open = false; }

   private:
    Entry& entry_;
  };
};

}  // namespace updater::test
